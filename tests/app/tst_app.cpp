#include "mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTest>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

using Rows = QList<PictureBox::Row>;

const QByteArray kLyrics =
    "[00:00]first\r\n\r\n[00:02]two\r\n[00:03]three\r\n[00:03]again\r\n[00:05]five\r\n"_ba;
const QStringList kShown{u"       first"_s, QString(),         u"       two"_s,
                         u"       three"_s, u"       again"_s, u"       five"_s};

// The window around a line of kShown, every other row green: what the view should show.
Rows around(int centre, Qt::GlobalColor colour)
{
    Rows rows;
    for (int line = centre - 7; line <= centre + 10; ++line)
        rows.append({line >= 0 && line < kShown.size() ? kShown[line] : u" "_s,
                     line == centre ? colour : Qt::green});
    return rows;
}

// How many times this process has the file open.
int openCount(const QString& path)
{
    const QFileInfoList descriptors =
        QDir(u"/proc/self/fd"_s).entryInfoList(QDir::Files | QDir::System);
    return int(std::ranges::count_if(descriptors, [&](const QFileInfo& descriptor) {
        return descriptor.symLinkTarget() == path;
    }));
}

} // namespace

class AppTest final : public QObject {
    Q_OBJECT

private slots:
    // Item texts follow the player's tracks and the first is chosen. A choice stops the track
    // playing and sets the player to the start of its own; that track ends when the label shows
    // the length at the end of its item, before all its last second is over. After 更新 nothing
    // is chosen: no end is seen, and a stop keeps the track the player holds.
    void choosingATrack()
    {
        QCOMPARE(MainWindow().find<QComboBox>()->count(), 0);
        MainWindow main({u"6000"_s, u"2500"_s});
        auto* tracks = main.find<QComboBox>();
        QCOMPARE(tracks->itemText(1), u"ﾄﾗｯｸ2 [00:02]"_s);
        QCOMPARE(tracks->currentIndex(), 0);
        QCOMPARE(main.player().position(), 2000);
        main.openLyrics(kLyrics);
        main.play();
        main.tick(1000);
        main.choose(1);
        QVERIFY(!main.playing() && !main.synchronising());
        main.play();
        QCOMPARE(main.player().position(), 8000);
        main.tick(2100);
        QCOMPARE(main.label(), u"[00:02]"_s);
        QVERIFY(!main.synchronising());

        main.choose(0);
        main.press(u"更新"_s);
        QCOMPARE(tracks->currentIndex(), -1);
        main.play();
        main.tick(7000);
        QVERIFY(main.synchronising() && main.playing());
        main.stop();
        main.play();
        QCOMPARE(main.player().position(), 2000); // track 1, the one that was playing
    }

    // A file chosen stops the player and shows the lyrics from their first tag; a cancel changes
    // nothing, not even a playing track; a file that cannot be opened leaves the view as it was.
    void openingALyricsFile()
    {
        MainWindow main({u"9000"_s});
        main.play(); // without lyrics 開く stays enabled while the track plays
        main.answers.lyricsFiles << std::nullopt;
        main.press(u"開く"_s);
        QVERIFY(main.playing());
        main.openLyrics("\x89\xcc\r\n[00:01]\x88\xea\r\n[00:02]\x93\xf1\r\n"_ba);
        QVERIFY(!main.playing());
        QCOMPARE(
            main.view().rows().mid(6, 3),
            (Rows{{u"歌"_s, Qt::green}, {u"       一"_s, Qt::green}, {u"       二"_s, Qt::green}}));

        // A pipe and a device are refused at once, as files that cannot be opened.
        const QString pipe = main.fixture.path(u"pipe.txt"_s);
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const Rows shown = main.view().rows();
        main.answers.lyricsFiles << pipe << u"/dev/zero"_s;
        main.press(u"開く"_s);
        main.press(u"開く"_s);
        QCOMPARE(main.view().rows(), shown);
    }

    // A drive that takes its time never holds up the window: the window shows at once, as without
    // a disc, and the settings window lists its drives and closes while the opens wait; stopping,
    // choosing a track, the settings window's OK and closing the window all return while a read
    // waits, and so does the end of the program.
    void nothingWaitsOnTheDrive()
    {
        HeldDrive opens, reads;
        MainWindow main({u"20000"_s, u"3000"_s}, [&](PlayerDevices& devices) {
            devices.opticalDrives = opens.holding([] { return QStringList{u"/dev/sr9"_s}; });
            devices.openDisc = opens.holding(devices.openDisc);
            devices.readSectors = reads.holding(devices.readSectors);
        });
        QVERIFY(!main.playerButton(0)->isEnabled());
        int listed = 0;
        main.answers.inWindow = [&listed](QDialog& settings) {
            listed = settings.findChild<QComboBox*>()->count();
            QTest::mouseClick(settings.findChild<QPushButton*>(), Qt::LeftButton);
        };
        QTRY_COMPARE(opens.waiting->load(), 2); // start-up's open, and the optical drives
        main.press(u"設定"_s);
        QCOMPARE(listed, 1); // D:, and not the drive that has not answered
        main.press(u"設定"_s);
        QCOMPARE(main.find<QComboBox>()->count(), 0);
        opens.letGo(); // start-up goes on with the disc the settings window opened
        QTRY_COMPARE(main.find<QComboBox>()->currentIndex(), 0);
        // Nothing waited for another drive's answer: start-up's open and listing, the settings
        // window's listing and the opens of D: were asked of the drive (the second open of D:
        // took the first one's place unless that one had begun), and only the last open's disc
        // was kept.
        QVERIFY(opens.calls->load() == 4 || opens.calls->load() == 5);

        main.play();
        QTRY_COMPARE(reads.waiting->load(), 1);
        main.stop();
        QVERIFY(!main.playing());
        main.play(); // its reader waits its turn at the disc
        QTRY_COMPARE(reads.waiting->load(), 2);
        main.choose(1);
        QVERIFY(!main.playing());
        main.press(u"設定"_s);
        QTRY_COMPARE(main.player().trackCount(), 2); // reopened on D:
        QVERIFY(main.window->close());
        main.window.reset();
        QCOMPARE(reads.waiting->load(), 2);
        const QString image = QFileInfo(main.fixture.path(u"disc.bin"_s)).canonicalFilePath();
        QTRY_COMPARE(openCount(image), 1); // the disc the held reads hold; the other is shut

        // Once the reads return, the disc they held is shut.
        reads.letGo();
        QTRY_COMPARE(openCount(image), 0);
    }

    // A disc that cannot be read from a sector on, part way through a track: once what was read
    // has played, the window is as the stop button leaves it, and play plays the track again.
    // A lost sound output stops it the same way.
    void aDiscThatFailsStopsAsTheStopButtonDoes()
    {
        MainWindow main({u"20000"_s});
        main.openLyrics(kLyrics);
        main.play();
        main.tick(1000);
        QVERIFY(QFile::resize(main.fixture.path(u"disc.bin"_s), 3 * 75 * 2352));
        main.playToTheEnd();
        QVERIFY(!main.find<QTimer>()->isActive() && main.button(u"開く"_s)->isEnabled());
        QCOMPARE(main.view().rows(), around(0, Qt::green));
        main.play();
        QCOMPARE(main.player().position(), 2000);
        main.output.sink().lost = true; // and so does the sound output going away
        QTRY_VERIFY(!main.find<QTimer>()->isActive() && !main.playing());
        main.play(); // and so does 「設定」's OK, which closes the player
        main.answers.inWindow = [](QDialog& settings) {
            QTest::mouseClick(settings.findChild<QPushButton*>(), Qt::LeftButton);
        };
        main.press(u"設定"_s);
        QVERIFY(!main.find<QTimer>()->isActive() && main.button(u"開く"_s)->isEnabled());
    }

    // A disc whose first track is track 2: the items carry its numbers, and each can be chosen.
    void aDiscStartingAtTrackTwo()
    {
        MainWindow main({u"3000"_s, u"4000"_s, u"2000"_s}, {}, 2);
        QCOMPARE(main.find<QComboBox>()->itemText(2), u"ﾄﾗｯｸ4 [00:02]"_s);
        main.choose(2);
        main.play();
        QCOMPARE(main.player().position(), 9000);
    }

    void linesFollowTheMusicToTheEndOfTheTrack()
    {
        MainWindow main({u"6000"_s, u"3000"_s});
        main.openLyrics(kLyrics);
        QCOMPARE(main.view().rows(), around(0, Qt::green));
        main.play();
        QVERIFY(main.synchronising());

        struct Step {
            int ms;
            const char* label;
            std::optional<int> highlighted; // the line on row 8; none while the view stays clear
        };
        // A match shows from the tick after it; the cursor moves on at the first differing
        // second, and a line whose tag repeats the one before never matches.
        const Step steps[] = {
            {0, "[00:00]", {}},  {100, "[00:00]", 0},  {900, "[00:01]", 0}, {1000, "[00:02]", 0},
            {100, "[00:02]", 2}, {900, "[00:03]", 2},  {100, "[00:03]", 2}, {100, "[00:03]", 3},
            {800, "[00:04]", 3}, {1000, "[00:05]", 3}, {900, "[00:05]", 3},
        };
        for (const Step& step : steps) {
            main.tick(step.ms);
            QCOMPARE(main.label(), QLatin1String(step.label));
            QCOMPARE(main.view().rows(),
                     step.highlighted ? around(*step.highlighted, Qt::red) : Rows());
        }

        main.tick(100); // [00:06], the length of track 1
        QVERIFY(!main.synchronising() && !main.playing());
        QCOMPARE(main.view().rows(), around(0, Qt::green));

        // Played again, from the start and with nothing of the last playback highlighted.
        main.play();
        QCOMPARE(main.player().position(), 2000);
        main.tick(500);
        QVERIFY(main.view().rows().isEmpty());
        main.tick(100);
        QCOMPARE(main.view().rows(), around(0, Qt::red));

        // Stopped, it is rewound; held up past the whole of its last second, the end is still
        // seen.
        main.tick(2000);
        main.stop();
        QVERIFY(!main.synchronising());
        QCOMPARE(main.view().rows(), around(0, Qt::green));
        main.play();
        QCOMPARE(main.player().position(), 2000);
        main.tick(5900);
        main.tick(1200);
        QCOMPARE(main.label(), u"[00:07]"_s);
        QVERIFY(!main.synchronising() && !main.playing());

        // The settings window's close, and only that of the program's own activations, brings
        // the background to the view, clearing it.
        main.window->show();
        main.colors.BackgroundColor = 0xFF0000;
        main.press(u"設定"_s); // closed with the close box
        QCOMPARE(main.view().grab().toImage().pixelColor(5, 5), QColor(Qt::blue));
        QVERIFY(main.view().rows().isEmpty());
    }

    // An album dropped on the window becomes the first free drive, and its tracks are listed.
    void anAlbumBecomesADrive()
    {
        MainWindow main({u"3000"_s});
        const QString rip = main.fixture.makeDisc(u"rip/album"_s, {u"3000"_s, u"3000"_s}, 1,
                                                  {u"--format"_s, u"flac"_s});
        QMimeData dropped;
        dropped.setUrls({QUrl(u"https://example.com/a.cue"_s), QUrl::fromLocalFile(rip)});
        QDragEnterEvent enter(QPoint(300, 200), Qt::CopyAction, &dropped, Qt::LeftButton, {});
        QApplication::sendEvent(main.window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(300, 200), Qt::CopyAction, &dropped, Qt::LeftButton, {});
        QApplication::sendEvent(main.window.get(), &drop);
        QTRY_COMPARE(main.find<QComboBox>()->count(), 2);
        QCOMPARE(QFileInfo(main.fixture.path(u"drives/e:"_s)).symLinkTarget(), rip);
    }

    // 開く chooses the lyrics a rip keeps beside the chosen track: the .txt of its own file's
    // name, or else the one .txt of the rip's folder that begins with its number.
    void lyricsBesideARip_data()
    {
        QTest::addColumn<QStringList>("rip");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("offered");
        const QStringList split{u"--format"_s, u"flac"_s, u"--split"_s};
        QTest::newRow("named as the track's file")
            << split + QStringList{u"--cp932"_s} << QStringList{u"02 ソナタ.txt"_s, u"02 別.txt"_s}
            << u"02 ソナタ.txt"_s;
        QTest::newRow("numbered") << split
                                  << QStringList{u"track02.txt"_s, u"12 x.txt"_s, u"2nd.txt"_s}
                                  << u"track02.txt"_s;
        QTest::newRow("numbered twice")
            << split << QStringList{u"2 a.TXT"_s, u"02 b.txt"_s} << QString();
        QTest::newRow("one file for the album")
            << QStringList{u"--format"_s, u"flac"_s} << QStringList{u"album.txt"_s, u"2 x.txt"_s}
            << u"2 x.txt"_s;
    }
    void lyricsBesideARip()
    {
        QFETCH(QStringList, rip);
        QFETCH(QStringList, files);
        QFETCH(QString, offered);
        MainWindow main;
        const QString sheet = main.fixture.makeDisc(u"rip/album"_s, {u"3000"_s, u"3000"_s}, 1, rip);
        for (const QString& name : files)
            writeFile(main.fixture.path(u"rip/"_s + name), "[00:00]x\r\n"_ba);
        main.window->openAlbum(QFileInfo(sheet).path());
        QTRY_COMPARE(main.find<QComboBox>()->count(), 2);
        main.choose(1);
        main.answers.lyricsFiles << std::nullopt;
        main.press(u"開く"_s);
        QCOMPARE(main.answers.offeredFile,
                 offered.isEmpty() ? QString() : main.fixture.path(u"rip/"_s + offered));
    }

    // The file opened for a disc's track is chosen for it again after a restart, in its folder;
    // another track opens in the folder used last. A file since deleted is passed over.
    void lyricsRememberedForTheDisc()
    {
        MainWindow main({u"3000"_s, u"3000"_s});
        const auto restart = [&main](int track, const std::optional<QString>& answer) {
            main.window = std::make_unique<Form1>(main.colors, main.fixture.programFolder(),
                                                  main.output.devices(), main.answers);
            QTRY_COMPARE(main.find<QComboBox>()->count(), 2);
            main.choose(track);
            main.answers.lyricsFiles << answer;
            main.press(u"開く"_s);
        };
        QDir(main.fixture.programFolder()).mkdir(u"songs"_s);
        const QString song = main.fixture.path(u"songs/song.txt"_s);
        writeFile(song, kLyrics);
        restart(1, song);
        QCOMPARE(main.answers.offeredFile, QString());
        restart(1, std::nullopt);
        QCOMPARE(main.answers.offeredFile, song);
        restart(0, std::nullopt);
        QCOMPARE(main.answers.offeredFile, QString());
        QCOMPARE(main.answers.askedFolder, main.fixture.path(u"songs"_s));
        QFile::remove(song);
        restart(1, std::nullopt);
        QCOMPARE(main.answers.offeredFile, QString());
    }
};

QTEST_MAIN(AppTest)
#include "tst_app.moc"

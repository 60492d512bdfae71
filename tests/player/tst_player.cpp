#include "cdtime.h"
#include "discfixture.h"
#include "manualaudiosink.h"
#include "mmcontrol.h"
#include "programfolder.h"
#include "ringbuffer.h"
#include "sdlaudiosink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSecond = cdtime::kSampleRate;
constexpr int kSector = cdtime::kBytesPerSector;
using Ms = QList<int>;

// A player on a program folder of its own, played by hand unless another output is given.
struct Player {
    explicit Player(const AudioSinkFactory& makeSink = {})
        : player(fixture.programFolder(), withSink(output.devices(), makeSink))
    {
    }
    static PlayerDevices withSink(PlayerDevices devices, const AudioSinkFactory& makeSink)
    {
        if (makeSink)
            devices.makeSink = makeSink;
        return devices;
    }
    // Maps D: to a new image of these tracks and opens it.
    void insert(const QStringList& lengths)
    {
        fixture.mapDrive('d', fixture.makeDisc(u"disc"_s, lengths));
        player.setCommand(u"open"_s);
    }
    QString bin() const { return fixture.path(u"disc.bin"_s); }
    QToolButton* button(int x) const { return qobject_cast<QToolButton*>(player.childAt(x, 11)); }
    void pressPlay() { QTest::mouseClick(button(13), Qt::LeftButton); }
    void pressStop() { QTest::mouseClick(button(40), Qt::LeftButton); }
    bool playing() const { return button(40)->isEnabled(); }
    // The sink goes with the playback, and the end watch stops it once everything has played.
    QByteArray play(int frames)
    {
        const QByteArray bytes = playing() ? output.sink().play(frames) : "";
        heard += bytes;
        return bytes;
    }
    void playToTheEnd() { QTRY_VERIFY(play(10 * kSecond).isEmpty() && !playing()); }

    DiscFixture fixture;
    ManualOutput output;
    MMControl player;
    QByteArray heard; // all that has played
};

} // namespace

class PlayerTest final : public QObject {
    Q_OBJECT

private slots:
    void opensAndPlaysToTheEnd_data()
    {
        QTest::addColumn<QString>("cue");         // written over mkdisc's; "" keeps it
        QTest::addColumn<QStringList>("lengths"); // made by mkdisc; none: no image at all
        QTest::addColumn<Ms>("starts");
        QTest::addColumn<Ms>("trackLengths");
        QTest::addColumn<int>("end");
        // Lengths round up to whole sectors; starts sit on the MSF line, track 1 at 2 s. Playback
        // ends with the last audio track that has any sectors. Without a disc everything reads 0.
        QTest::newRow("sector rounding")
            << QString() << QStringList{u"3000"_s, u"4500"_s, u"2000"_s} << Ms{2000, 5000, 9506}
            << Ms{3000, 4506, 2000} << 11506;
        QTest::newRow("data track last") << QString() << QStringList{u"2000"_s, u"3000d"_s}
                                         << Ms{2000, 4000} << Ms{2000, 3000} << 4000;
        QTest::newRow("no image") << QString() << QStringList() << Ms{} << Ms{} << 0;
        const QString header =
            u"FILE \"disc.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"_s;
        QTest::newRow("tracks out of order")
            << header + u"  TRACK 02 AUDIO\n    INDEX 01 00:04:00\n  TRACK 03 AUDIO\n"
                        "    INDEX 01 00:02:00\n"_s
            << QStringList{u"2000"_s, u"2000"_s, u"2000"_s} << Ms{} << Ms{} << 0;
        QTest::newRow("first track number above the count")
            << u"FILE \"disc.bin\" BINARY\n  TRACK 98 AUDIO\n    INDEX 01 00:00:00\n"_s
            << QStringList{u"2000"_s} << Ms{} << Ms{} << 0;
    }

    void opensAndPlaysToTheEnd()
    {
        QFETCH(QString, cue);
        QFETCH(QStringList, lengths);
        QFETCH(Ms, starts);
        QFETCH(Ms, trackLengths);
        QFETCH(int, end);
        Player disc;
        if (!lengths.isEmpty())
            disc.fixture.mapDrive('d', disc.fixture.makeDisc(u"disc"_s, lengths));
        if (!cue.isEmpty())
            writeFile(disc.fixture.path(u"disc.cue"_s), cue.toLatin1());
        disc.player.setCommand(u"open"_s);

        QCOMPARE(disc.player.trackCount(), starts.size());
        QCOMPARE(disc.player.position(), starts.value(0));
        // A track the disc does not have is refused: the player keeps the track it was set to last.
        int held = 1;
        for (int track : {1, 2, 3, 0, 4}) {
            disc.player.setTrack(track);
            held = track >= 1 && track <= starts.size() ? track : held;
            QCOMPARE(disc.player.trackStart(), starts.value(held - 1));
            QCOMPARE(disc.player.trackLength(), trackLengths.value(held - 1));
        }
        disc.pressPlay();
        disc.playToTheEnd();
        QCOMPARE(disc.player.position(), end);
        QCOMPARE(disc.button(13)->isEnabled(), !starts.isEmpty());
    }

    // One walk through the states; the buttons show whether the player is playing.
    void buttonsNotifyAndCommandsDoNot()
    {
        Player disc;
        disc.insert({u"3000"_s, u"4500"_s, u"2000"_s});
        MMControl& player = disc.player;
        QSignalSpy played(&player, &MMControl::PlayCompleted);
        QSignalSpy stopped(&player, &MMControl::StopCompleted);
        disc.pressPlay();
        player.setLoadingFlag(false);
        QVERIFY(!disc.button(13)->isEnabled() && !disc.button(40)->isEnabled());
        player.setLoadingFlag(true);
        disc.play(kSecond);
        QCOMPARE(player.position(), 3000);
        disc.pressStop();

        // Play goes on from where it stopped; commands take any letter case and say nothing.
        disc.pressPlay();
        disc.play(kSecond / 2);
        player.setCommand(u"Stop"_s);
        player.setCommand(u"STOP"_s); // stopping a stopped player changes nothing
        player.setCommand(u"play"_s); // not a command of this control
        QCOMPARE(player.position(), 3500);
        QVERIFY(!disc.playing());

        // The play start counts once: track 3's 9506 ms, truncated from 9506.67, names its sector.
        player.setTrack(3);
        player.setPlayStart(player.trackStart());
        disc.pressPlay();
        QByteArray bytes = disc.play(kSecond);
        disc.pressStop();
        disc.pressPlay();
        bytes += disc.play(4 * kSecond);
        QVERIFY(bytes == fileBytes(disc.bin(), 563 * kSector));

        // A changed link is followed at the next open, even of an open device.
        disc.fixture.mapDrive('d', disc.fixture.makeDisc(u"two"_s, {u"1000"_s, u"1000"_s}));
        player.setCommand(u"Open"_s);
        disc.pressPlay();
        QVERIFY(disc.play(2 * kSecond) == fileBytes(disc.fixture.path(u"two.bin"_s)));
        player.setCommand(u"CLOSE"_s);
        QCOMPARE(player.trackCount(), 0);
        QCOMPARE(played.count(), 5);
        QCOMPARE(stopped.count(), 2);
    }

    void damagedWhilePlayingStopsCleanly_data()
    {
        QTest::addColumn<qsizetype>("cutTo"); // the bytes the image keeps; -1: all
        QTest::addColumn<bool>("deleted");
        // The cut lies ahead of the reader, part way through a sector and through one of its reads.
        const qsizetype cut = 757 * kSector + 1000;
        QTest::newRow("cut short") << cut << false;
        QTest::newRow("deleted") << qsizetype(-1) << true;
    }

    // Up to a cut the disc's own bytes play, then silence: three seconds skipped and what was left
    // of the read that met the cut, before giving up. A deleted image that is still open reads on.
    void damagedWhilePlayingStopsCleanly()
    {
        QFETCH(qsizetype, cutTo);
        QFETCH(bool, deleted);
        Player disc;
        disc.insert({u"20000"_s});
        const QByteArray whole = fileBytes(disc.bin());
        disc.pressPlay();
        disc.play(kSecond / 2);
        QVERIFY(deleted ? QFile::remove(disc.bin()) : QFile::resize(disc.bin(), cutTo));
        disc.playToTheEnd();
        const qsizetype kept = deleted ? whole.size() : cutTo;
        const qsizetype silence = disc.heard.size() - kept;
        QVERIFY(deleted ? silence == 0 : silence >= 3 * 75 * kSector && silence < 4 * 75 * kSector);
        QVERIFY(disc.heard.first(kept) == whole.first(kept));
        QCOMPARE(disc.heard.sliced(kept).count('\0'), silence);
    }

    // The executable's folder is the program folder when it holds cv.ini or drives/. Links in
    // drives/ name letters in either case; anything but a drive or an image is no drive; optical
    // drives take the free letters from D: upwards, unless a link names them already.
    void programFolderAndDriveLetters()
    {
        DiscFixture fixture; // its folder holds drives/
        const QString user = u"/home/someone/.config/corvanta"_s, bin = fixture.path(u"bin"_s);
        QCOMPARE(programFolder(fixture.programFolder(), user), fixture.programFolder());
        QVERIFY(QDir().mkdir(bin));
        writeFile(bin + u"/drives"_s, "a file, not a folder");
        QCOMPARE(programFolder(bin, user), user);
        writeFile(bin + u"/cv.ini"_s, {});
        QCOMPARE(programFolder(bin, user), bin);

        const QString image = fixture.makeDisc(u"disc"_s, {u"1000"_s});
        writeFile(fixture.path(u"notes.txt"_s), "not a disc");
        fixture.mapDrive('e', image);
        fixture.mapDrive('f', fixture.path(u"notes.txt"_s));
        fixture.mapDrive('g', fixture.path(u"gone.cue"_s));
        QVERIFY(QFile::link(image, fixture.path(u"drives/h"_s)));
        const QString imagePath = QFileInfo(image).canonicalFilePath();
        const DriveTable drives = DriveTable::scan(
            fixture.programFolder(), {u"/dev/a"_s, imagePath, u"/dev/b"_s, u"/dev/c"_s});
        QCOMPARE(drives.letters(), (QList<QChar>{u'D', u'E', u'F', u'G'}));
        QCOMPARE(drives.target(u'e'), imagePath);
        QCOMPARE(drives.target(u'F'), u"/dev/b"_s);
        QCOMPARE(drives.defaultTarget(), u"/dev/a"_s);
    }

    // What is written past the end of the ring goes on at its start, and is read back in order.
    void ringWrapsRound()
    {
        RingBuffer ring(5);
        const auto* in = reinterpret_cast<const std::byte*>("abcdefgh");
        std::byte out[4];
        QCOMPARE(ring.write(in, 3), 3u);
        QCOMPARE(ring.read(out, 2), 2u);
        QCOMPARE(ring.write(in + 3, 5), 4u); // full: one byte is left over
        QCOMPARE(ring.read(out, 4), 4u);
        QCOMPARE(QByteArrayView(out, 4), "cdef");
    }

    void playsThroughSdl_data()
    {
        QTest::addColumn<QByteArray>("driver"); // "none": not even SDL's silent output opens
        QTest::addColumn<int>("end");
        // Track 2 plays from 3000 ms. SDL's silent output drains the ring in real time, so the
        // position still runs to the end; with no output at all play ends where it began.
        QTest::newRow("the disk driver") << "disk"_ba << 3000 + 1506;
        QTest::newRow("no such driver: silent output") << "no-such-driver"_ba << 3000 + 1506;
        QTest::newRow("no output at all") << "none"_ba << 3000;
    }

    void playsThroughSdl()
    {
        QFETCH(QByteArray, driver);
        QFETCH(int, end);
        SdlAudioOutput output;
        SdlAudioApi refusing;
        refusing.SetHint = [](const char*, const char*) { return SDL_TRUE; };
        refusing.AudioInit = [](const char*) { return -1; };
        refusing.AudioQuit = [] {};
        refusing.PauseAudioDevice = [](SDL_AudioDeviceID, int) {};
        refusing.CloseAudioDevice = [](SDL_AudioDeviceID) {};
        Player disc([&](RingBuffer& ring) {
            return driver == "none" ? SdlAudioSink::open(refusing, ring) : output.factory()(ring);
        });
        const QString written = disc.fixture.path(u"played.raw"_s);
        qputenv("SDL_AUDIODRIVER", driver);
        qputenv("SDL_DISKAUDIOFILE", written.toLocal8Bit());
        qputenv("SDL_DISKAUDIODELAY", "5"); // ms per 46 ms buffer: faster than real time
        disc.insert({u"1000"_s, u"1500"_s});
        disc.player.setTrack(2);
        disc.player.setPlayStart(disc.player.trackStart());
        disc.pressPlay();
        QTRY_VERIFY_WITH_TIMEOUT(!disc.playing(), 30'000);
        QCOMPARE(disc.player.position(), end);
        for (const char* name : {"SDL_AUDIODRIVER", "SDL_DISKAUDIOFILE", "SDL_DISKAUDIODELAY"})
            qunsetenv(name);
        if (driver != "disk")
            return;

        // Silence while the first reads arrive, then every byte of the disc from the play start
        // on, then silence again.
        const QByteArray out = fileBytes(written);
        const QByteArray track = fileBytes(disc.bin(), 75 * kSector);
        qsizetype start = 0;
        while (start < out.size() && out.at(start) == 0)
            ++start;
        start -= start % cdtime::kBytesPerFrame;
        QVERIFY(out.mid(start, track.size()) == track);
        QCOMPARE(out.sliced(start + track.size()).count('\0'), out.size() - start - track.size());
    }
};

QTEST_MAIN(PlayerTest)
#include "tst_player.moc"

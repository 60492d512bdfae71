#include "mainwindow.h"
#include "mmcontrol.h"
#include "picturebox.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// Green text, a red current line, on black.
const QByteArray kColours = " 65280 \r\n 255 \r\n 0 \r\n"_ba;
const QByteArray kLyrics =
    "[00:00]first\r\n\r\n[00:02]two\r\n[00:03]three\r\n[00:03]again\r\n[00:05]five\r\n"_ba;

// A main window whose tick the test runs by hand, after playing exactly so much of the disc.
struct Playing : MainWindow {
    Playing() : MainWindow({u"6000"_s, u"3000"_s}, kColours) { openLyrics(kLyrics); }

    void press(const char* name) { QTest::mouseClick(control<QWidget>(name), Qt::LeftButton); }
    void tick(int ms)
    {
        output.sink().play(ms * 441 / 10);
        window->Timer1_Timer();
    }
    QString label() { return control<QLabel>("Label10")->text(); }
    bool synchronising()
    {
        return control<QTimer>("Timer1")->isActive() && !control<QWidget>("Command2")->isEnabled();
    }
    // The window around a line, every other row green: what the view should show.
    static QList<PictureBox::Row> around(const QStringList& shown, int centre,
                                         Qt::GlobalColor colour)
    {
        QList<PictureBox::Row> rows;
        for (int line = centre - 7; line <= centre + 10; ++line)
            rows.append({line >= 0 && line < shown.size() ? shown[line] : u" "_s,
                         line == centre ? colour : Qt::green});
        return rows;
    }
    static inline const QStringList kShown{u"       first"_s, QString(),         u"       two"_s,
                                           u"       three"_s, u"       again"_s, u"       five"_s};
};

} // namespace

class TickTest final : public QObject {
    Q_OBJECT

private slots:
    void linesFollowTheMusicToTheEndOfTheTrack();
    void stopButtonAndAStalledEnd();
    void withoutAChosenTrackTheEndIsNotSeen();
};

void TickTest::linesFollowTheMusicToTheEndOfTheTrack()
{
    Playing main;
    QCOMPARE(main.view().rows(), Playing::around(Playing::kShown, 0, Qt::green));
    main.play();
    QVERIFY(main.synchronising());

    struct Step {
        int ms;
        const char* label;
        std::optional<int> highlighted; // the line on row 8; none while the view stays clear
    };
    // A match shows from the tick after it; the cursor moves on at the first differing second,
    // and a line whose tag repeats the one before never matches.
    const Step steps[] = {
        {0, "[00:00]", {}},  {100, "[00:00]", 0},  {900, "[00:01]", 0}, {1000, "[00:02]", 0},
        {100, "[00:02]", 2}, {900, "[00:03]", 2},  {100, "[00:03]", 2}, {100, "[00:03]", 3},
        {800, "[00:04]", 3}, {1000, "[00:05]", 3}, {900, "[00:05]", 3},
    };
    for (const Step& step : steps) {
        main.tick(step.ms);
        QCOMPARE(main.label(), QLatin1String(step.label));
        if (step.highlighted)
            QCOMPARE(main.view().rows(),
                     Playing::around(Playing::kShown, *step.highlighted, Qt::red));
        else
            QVERIFY(main.view().rows().isEmpty());
    }

    main.tick(100); // [00:06], the length of track 1
    QVERIFY(!main.synchronising());
    QVERIFY(!main.player().isPlaying());
    QCOMPARE(main.view().rows(), Playing::around(Playing::kShown, 0, Qt::green));

    // Played again, from the start and with nothing of the last playback highlighted.
    main.play();
    QCOMPARE(main.player().position(), 2000);
    main.tick(500);
    QVERIFY(main.view().rows().isEmpty());
    main.tick(100);
    QCOMPARE(main.view().rows(), Playing::around(Playing::kShown, 0, Qt::red));
}

void TickTest::stopButtonAndAStalledEnd()
{
    Playing main;
    main.play();
    main.tick(2500);
    main.stop();
    QVERIFY(!main.synchronising());
    QCOMPARE(main.view().rows(), Playing::around(Playing::kShown, 0, Qt::green));

    main.play();
    QCOMPARE(main.player().position(), 2000); // rewound to the start of the track
    main.tick(5900);
    QVERIFY(main.synchronising());
    // Held up past the whole of the last second: the end is still seen.
    main.tick(1200);
    QCOMPARE(main.label(), u"[00:07]"_s);
    QVERIFY(!main.synchronising());
    QVERIFY(!main.player().isPlaying());
}

void TickTest::withoutAChosenTrackTheEndIsNotSeen()
{
    Playing main;
    main.press("Command1"); // 更新: the list is rebuilt and nothing is chosen
    QCOMPARE(main.control<QComboBox>("Combo1")->count(), 2);
    QCOMPARE(main.control<QComboBox>("Combo1")->currentIndex(), -1);
    main.play();
    main.tick(8000);
    QVERIFY(main.synchronising());
    QVERIFY(main.player().isPlaying());

    // Stopped with nothing chosen, the player keeps the track it holds, the last one the list
    // was built with, and plays it from its start.
    main.stop();
    main.play();
    QVERIFY(main.player().isPlaying());
    QCOMPARE(main.player().position(), 8000);
}

int runTickTests(int argc, char* argv[])
{
    TickTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tick.moc"

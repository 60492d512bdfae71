#include "cdtime.h"
#include "discfixture.h"
#include "manualaudiosink.h"
#include "mmcontrol.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSecond = cdtime::kSampleRate;

QToolButton* playButton(MMControl& player)
{
    return qobject_cast<QToolButton*>(player.childAt(13, 11));
}

QToolButton* stopButton(MMControl& player)
{
    return qobject_cast<QToolButton*>(player.childAt(40, 11));
}

void press(QToolButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// A player turned by hand, on drive D: mapped to a fresh image, opened.
struct PlayerOnDisc {
    explicit PlayerOnDisc(const QStringList& lengths)
    {
        fixture.mapDrive('d', fixture.makeDisc(u"disc"_s, lengths));
        player.setCommand(u"open"_s);
    }

    QString bin() const { return fixture.path(u"disc.bin"_s); }
    QByteArray play(int frames) { return output.sink().play(frames); }
    void playFromTrack(int track)
    {
        player.setTrack(track);
        player.setPlayStart(player.trackStart());
        press(playButton(player));
    }
    // Plays until the player stops by itself, a tenth of a second at a time.
    void playToTheEnd()
    {
        for (int i = 0; i < 1000 && player.isPlaying(); ++i) {
            play(kSecond / 10);
            QTest::qWait(5);
        }
        QTRY_VERIFY(!player.isPlaying());
    }

    DiscFixture fixture;
    ManualOutput output;
    MMControl player{fixture.programFolder(), output.factory()};
};

} // namespace

class MMControlTest final : public QObject {
    Q_OBJECT

private slots:
    void readsTheTableOfContents_data();
    void readsTheTableOfContents();
    void withoutADiscEverythingReadsZero_data();
    void withoutADiscEverythingReadsZero();
    void buttonsNotifyAndCommandsDoNot();
    void playStartsAtThePlayStartOnlyOnce();
    void playsTheDiscFromThePlayStart();
    void playStopsByItselfAtTheEndOfTheLastAudioTrack();
    void loadingFlagDisablesBothButtons();
    void commandsIgnoreLetterCase();
    void openTwiceAndCloseWhilePlaying();
    void shortImagePlaysWhatItHas();
    void truncatedWhilePlayingStopsCleanly();
    void deletedWhilePlayingStopsCleanly();
};

void MMControlTest::readsTheTableOfContents_data()
{
    QTest::addColumn<QStringList>("lengths");
    QTest::addColumn<QList<int>>("starts");
    QTest::addColumn<QList<int>>("trackLengths");
    // Lengths round up to whole sectors; starts sit on the MSF line, track 1 at 2 s.
    QTest::newRow("one track") << QStringList{u"3000"_s} << QList<int>{2000} << QList<int>{3000};
    QTest::newRow("sector rounding")
        << QStringList{u"3000"_s, u"4500"_s, u"2000"_s} << QList<int>{2000, 5000, 9506}
        << QList<int>{3000, 4506, 2000};
    QTest::newRow("data track last")
        << QStringList{u"2000"_s, u"3000d"_s} << QList<int>{2000, 4000} << QList<int>{2000, 3000};
}

void MMControlTest::readsTheTableOfContents()
{
    QFETCH(QStringList, lengths);
    QFETCH(QList<int>, starts);
    QFETCH(QList<int>, trackLengths);
    PlayerOnDisc disc(lengths);
    MMControl& player = disc.player;

    QCOMPARE(player.trackCount(), lengths.size());
    QCOMPARE(player.position(), 2000);
    for (int track = 1; track <= lengths.size(); ++track) {
        player.setTrack(track);
        QCOMPARE(player.trackStart(), starts[track - 1]);
        QCOMPARE(player.trackLength(), trackLengths[track - 1]);
    }
    player.setTrack(lengths.size() + 1);
    QCOMPARE(player.trackStart(), 0);
    QCOMPARE(player.trackLength(), 0);
}

void MMControlTest::withoutADiscEverythingReadsZero_data()
{
    QTest::addColumn<QString>("setup");
    QTest::newRow("no drive letters") << u"none"_s;
    QTest::newRow("unmapped letter named") << u"unmapped"_s;
    QTest::newRow("link to nothing") << u"dangling"_s;
    QTest::newRow("link to a plain file") << u"plain"_s;
    QTest::newRow("garbage cue sheet") << u"garbage"_s;
    QTest::newRow("cue without its bin") << u"no bin"_s;
    QTest::newRow("never opened") << u"closed"_s;
}

void MMControlTest::withoutADiscEverythingReadsZero()
{
    QFETCH(QString, setup);
    DiscFixture fixture;
    ManualOutput output;
    MMControl player(fixture.programFolder(), output.factory());
    if (setup == u"unmapped") {
        fixture.mapDrive('d', fixture.makeDisc(u"disc"_s, {u"2000"_s}));
        player.setDeviceElement(u"E:"_s);
    } else if (setup == u"dangling") {
        fixture.mapDrive('d', fixture.path(u"gone.cue"_s));
    } else if (setup == u"plain") {
        QFile notes(fixture.path(u"notes.txt"_s));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("not a disc\n");
        notes.close();
        fixture.mapDrive('d', notes.fileName());
    } else if (setup == u"garbage") {
        QFile cue(fixture.path(u"garbage.cue"_s));
        QVERIFY(cue.open(QIODevice::WriteOnly));
        cue.write(QByteArray(3000, '\xA7') + "TRACK 99 AUDIO\nINDEX 01 99:99:99\n");
        cue.close();
        fixture.mapDrive('d', cue.fileName());
    } else if (setup == u"no bin") {
        fixture.mapDrive('d', fixture.makeDisc(u"disc"_s, {u"2000"_s}));
        QVERIFY(QFile::remove(fixture.path(u"disc.bin"_s)));
    }
    if (setup != u"closed")
        player.setCommand(u"open"_s);

    QSignalSpy played(&player, &MMControl::PlayCompleted);
    press(playButton(player));
    player.setTrack(1);
    QCOMPARE(player.trackCount(), 0);
    QCOMPARE(player.trackStart(), 0);
    QCOMPARE(player.trackLength(), 0);
    QCOMPARE(player.position(), 0);
    QVERIFY(!playButton(player)->isEnabled());
    QVERIFY(!player.isPlaying());
    QCOMPARE(played.count(), 0);
}

void MMControlTest::buttonsNotifyAndCommandsDoNot()
{
    PlayerOnDisc disc(QStringList{u"5000"_s});
    MMControl& player = disc.player;
    QSignalSpy played(&player, &MMControl::PlayCompleted);
    QSignalSpy stopped(&player, &MMControl::StopCompleted);
    QVERIFY(playButton(player)->isEnabled());
    QVERIFY(!stopButton(player)->isEnabled());

    press(playButton(player));
    QCOMPARE(played.count(), 1);
    QVERIFY(!playButton(player)->isEnabled());
    QVERIFY(stopButton(player)->isEnabled());
    disc.play(kSecond);
    QCOMPARE(player.position(), 3000);
    press(stopButton(player));
    QCOMPARE(stopped.count(), 1);
    QCOMPARE(player.position(), 3000);

    // The same stop sent from code says nothing.
    press(playButton(player));
    disc.play(kSecond / 2);
    player.setCommand(u"stop"_s);
    QVERIFY(!player.isPlaying());
    QCOMPARE(player.position(), 3500);
    QCOMPARE(played.count(), 2);
    QCOMPARE(stopped.count(), 1);
    player.setCommand(u"stop"_s); // stopping a stopped player changes nothing
    QCOMPARE(player.position(), 3500);
}

void MMControlTest::playStartsAtThePlayStartOnlyOnce()
{
    PlayerOnDisc disc(QStringList{u"3000"_s, u"4500"_s, u"2000"_s});
    MMControl& player = disc.player;
    player.setTrack(3);
    player.setPlayStart(player.trackStart()); // 9506, truncated from 9506.67

    press(playButton(player));
    QCOMPARE(markOf(disc.play(kSecond), 0).track, 3);
    press(stopButton(player));
    const int stoppedAt = player.position();
    // Without a new play start, play goes on from where it stopped.
    press(playButton(player));
    const QByteArray resumed = disc.play(1);
    QCOMPARE(markOf(resumed, 0).track, 3);
    QCOMPARE(markOf(resumed, 0).second, 1);
    QCOMPARE(player.position(), stoppedAt);
}

void MMControlTest::playsTheDiscFromThePlayStart()
{
    PlayerOnDisc disc(QStringList{u"1000"_s, u"2500"_s});
    disc.playFromTrack(2);

    const QByteArray played = disc.play(4 * kSecond);
    const qint64 trackTwoBytes = 188 * cdtime::kBytesPerSector;
    QCOMPARE(played.size(), trackTwoBytes);
    QVERIFY(played == fileBytes(disc.bin(), 75 * cdtime::kBytesPerSector));
    QCOMPARE(markOf(played, 0).track, 2);
    QCOMPARE(markOf(played, 2 * kSecond).second, 2);
}

void MMControlTest::playStopsByItselfAtTheEndOfTheLastAudioTrack()
{
    PlayerOnDisc disc(QStringList{u"1000"_s, u"1000"_s, u"2000d"_s});
    MMControl& player = disc.player;
    QSignalSpy stopped(&player, &MMControl::StopCompleted);
    disc.playFromTrack(2);

    disc.playToTheEnd();
    player.setTrack(3);
    QCOMPARE(player.position(), player.trackStart());
    QCOMPARE(stopped.count(), 0);
    QVERIFY(playButton(player)->isEnabled());
    QVERIFY(!stopButton(player)->isEnabled());
}

void MMControlTest::loadingFlagDisablesBothButtons()
{
    PlayerOnDisc disc(QStringList{u"3000"_s});
    MMControl& player = disc.player;
    press(playButton(player));
    player.setLoadingFlag(false);
    QVERIFY(!playButton(player)->isEnabled());
    QVERIFY(!stopButton(player)->isEnabled());
    player.setLoadingFlag(true);
    QVERIFY(stopButton(player)->isEnabled());
    player.setCommand(u"stop"_s);
    player.setLoadingFlag(false);
    player.setLoadingFlag(true);
    QVERIFY(playButton(player)->isEnabled());
}

void MMControlTest::commandsIgnoreLetterCase()
{
    PlayerOnDisc disc(QStringList{u"3000"_s});
    MMControl& player = disc.player;
    player.setCommand(u"Open"_s);
    QCOMPARE(player.trackCount(), 1);
    player.setCommand(u"play"_s); // never a command of this control
    player.setCommand(u"eject"_s);
    QVERIFY(!player.isPlaying());
    press(playButton(player));
    player.setCommand(u"Stop"_s);
    QVERIFY(!player.isPlaying());
    player.setCommand(u"CLOSE"_s);
    QCOMPARE(player.trackCount(), 0);
}

void MMControlTest::openTwiceAndCloseWhilePlaying()
{
    PlayerOnDisc disc(QStringList{u"3000"_s});
    MMControl& player = disc.player;
    // A changed link is followed at the next open, even of an open device.
    disc.fixture.mapDrive('d', disc.fixture.makeDisc(u"two"_s, {u"1000"_s, u"1000"_s}));
    player.setCommand(u"open"_s);
    QCOMPARE(player.trackCount(), 2);

    QSignalSpy stopped(&player, &MMControl::StopCompleted);
    press(playButton(player));
    disc.play(kSecond / 4);
    player.setCommand(u"close"_s);
    QVERIFY(!player.isPlaying());
    QCOMPARE(player.position(), 0);
    QCOMPARE(stopped.count(), 0);
    player.setCommand(u"open"_s);
    QCOMPARE(player.position(), 2000);
}

void MMControlTest::shortImagePlaysWhatItHas()
{
    PlayerOnDisc disc(QStringList{u"2000"_s, u"2000"_s, u"2000"_s});
    MMControl& player = disc.player;
    QVERIFY(QFile::resize(disc.bin(), 225 * cdtime::kBytesPerSector));
    player.setCommand(u"open"_s);
    QCOMPARE(player.trackCount(), 3);
    player.setTrack(2);
    QCOMPARE(player.trackLength(), 1000);
    player.setTrack(3);
    QCOMPARE(player.trackLength(), 0);

    press(playButton(player));
    disc.playToTheEnd();
    QCOMPARE(player.position(), 5000);
}

void MMControlTest::truncatedWhilePlayingStopsCleanly()
{
    PlayerOnDisc disc(QStringList{u"20000"_s});
    MMControl& player = disc.player;
    press(playButton(player));
    disc.play(kSecond / 2);
    QVERIFY(QFile::resize(disc.bin(), 75 * cdtime::kBytesPerSector));

    disc.playToTheEnd();
    // What was buffered plays out, then a few seconds are skipped before giving up.
    QVERIFY(player.position() > 2500);
    QVERIFY(player.position() < 12000);
    QVERIFY(playButton(player)->isEnabled());
    disc.fixture.makeDisc(u"disc"_s, {u"20000"_s});
    player.setCommand(u"open"_s);
    QCOMPARE(player.trackLength(), 20000);
}

void MMControlTest::deletedWhilePlayingStopsCleanly()
{
    PlayerOnDisc disc(QStringList{u"3000"_s});
    MMControl& player = disc.player;
    press(playButton(player));
    disc.play(kSecond / 2);
    QVERIFY(QFile::remove(disc.bin()));
    QVERIFY(QFile::remove(disc.fixture.path(u"disc.cue"_s)));

    disc.playToTheEnd();
    QVERIFY(player.position() > 2500);
    QVERIFY(player.position() <= 5000);
    player.setCommand(u"open"_s);
    QCOMPARE(player.trackCount(), 0);
}

int runMMControlTests(int argc, char* argv[])
{
    MMControlTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mmcontrol.moc"

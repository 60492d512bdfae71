#include "cdtime.h"
#include "discfixture.h"
#include "manualaudiosink.h"
#include "mmcontrol.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSecond = cdtime::kSampleRate;
constexpr int kSector = cdtime::kBytesPerSector;

// A player turned by hand, opened once the setup has prepared its drives; never without one.
struct PlayerOnDisc {
    explicit PlayerOnDisc(const std::function<void(PlayerOnDisc&)>& setup = {})
    {
        if (setup) {
            setup(*this);
            player.setCommand(u"open"_s);
        }
    }

    QString bin() const { return fixture.path(u"disc.bin"_s); }
    // The sink goes with the playback, and the end watch stops it once everything has played.
    QByteArray play(int frames)
    {
        const QByteArray bytes = player.isPlaying() ? output.sink().play(frames) : "";
        heard += bytes;
        return bytes;
    }
    void playToTheEnd() { QTRY_VERIFY(play(10 * kSecond).isEmpty() && !player.isPlaying()); }
    QToolButton* button(int x) const { return qobject_cast<QToolButton*>(player.childAt(x, 11)); }
    auto enabled() const { return std::pair(button(13)->isEnabled(), button(40)->isEnabled()); }
    void pressPlay() { QTest::mouseClick(button(13), Qt::LeftButton); }
    void pressStop() { QTest::mouseClick(button(40), Qt::LeftButton); }

    DiscFixture fixture;
    ManualOutput output;
    MMControl player{fixture.programFolder(), {output.factory()}};
    QByteArray heard; // all that has played
};

using Setup = std::function<void(PlayerOnDisc&)>;
using Ms = QList<int>;

Setup insert(const QStringList& lengths, int cutToSectors = 0)
{
    return [=](PlayerOnDisc& disc) {
        disc.fixture.mapDrive('d', disc.fixture.makeDisc(u"disc"_s, lengths));
        if (cutToSectors > 0)
            QVERIFY(QFile::resize(disc.bin(), cutToSectors * kSector));
    };
}

// Points D: at a file of these bytes, or at nothing without them.
Setup linkTo(const QString& name, const QByteArray& bytes = {})
{
    return [=](PlayerOnDisc& disc) {
        QFile file(disc.fixture.path(name));
        if (!bytes.isNull())
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        disc.fixture.mapDrive('d', file.fileName());
    };
}

} // namespace

class MMControlTest final : public QObject {
    Q_OBJECT

private slots:
    void opensAndPlaysToTheEnd_data();
    void opensAndPlaysToTheEnd();
    void buttonsNotifyAndCommandsDoNot();
    void damagedWhilePlayingStopsCleanly_data();
    void damagedWhilePlayingStopsCleanly();
};

void MMControlTest::opensAndPlaysToTheEnd_data()
{
    QTest::addColumn<Setup>("setup"); // none: never opened
    QTest::addColumn<Ms>("starts");
    QTest::addColumn<Ms>("lengths");
    QTest::addColumn<int>("end");
    // Lengths round up to whole sectors; starts sit on the MSF line, track 1 at 2 s. Playback
    // ends with the last audio track that has any sectors. Without a disc everything reads 0.
    QTest::newRow("sector rounding") << insert({u"3000"_s, u"4500"_s, u"2000"_s})
                                     << Ms{2000, 5000, 9506} << Ms{3000, 4506, 2000} << 11506;
    QTest::newRow("data track last")
        << insert({u"2000"_s, u"3000d"_s}) << Ms{2000, 4000} << Ms{2000, 3000} << 4000;
    QTest::newRow("short image") << insert({u"2000"_s, u"2000"_s, u"2000"_s}, 225)
                                 << Ms{2000, 4000, 6000} << Ms{2000, 1000, 0} << 5000;
    QTest::newRow("never opened") << Setup() << Ms{} << Ms{} << 0;
    QTest::newRow("no drive letters") << Setup([](PlayerOnDisc&) {}) << Ms{} << Ms{} << 0;
    QTest::newRow("unmapped letter named") << Setup([](PlayerOnDisc& disc) {
        insert({u"2000"_s})(disc);
        disc.player.setDeviceElement(u"E:"_s);
    }) << Ms{} << Ms{} << 0;
    QTest::newRow("link to nothing") << linkTo(u"gone.cue"_s) << Ms{} << Ms{} << 0;
    QTest::newRow("link to a plain file")
        << linkTo(u"notes.txt"_s, "not a disc\n") << Ms{} << Ms{} << 0;
    QTest::newRow("garbage cue sheet")
        << linkTo(u"garbage.cue"_s,
                  QByteArray(3000, '\xA7') + "TRACK 99 AUDIO\nINDEX 01 99:99:99\n")
        << Ms{} << Ms{} << 0;
    // Each track runs to the next one's start, so starts that go back would overlap tracks.
    QTest::newRow("tracks out of order") << Setup([](PlayerOnDisc& disc) {
        insert({u"2000"_s, u"2000"_s, u"2000"_s})(disc);
        writeFile(disc.fixture.path(u"disc.cue"_s), "FILE \"disc.bin\" BINARY\n"
                                                    "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                                    "  TRACK 02 AUDIO\n    INDEX 01 00:04:00\n"
                                                    "  TRACK 03 AUDIO\n    INDEX 01 00:02:00\n");
    }) << Ms{} << Ms{} << 0;
    // libcdio 2.1.0 indexes its table of tracks from the first track's number: a sheet whose
    // first number is above its count of tracks would have it read and write outside the table,
    // whether the drive names the sheet or the bin beside it.
    const auto firstNumberAboveCount = [](bool throughBin) {
        return Setup([throughBin](PlayerOnDisc& disc) {
            insert({u"2000"_s, u"2000"_s})(disc);
            writeFile(disc.fixture.path(u"disc.cue"_s),
                      "FILE \"disc.bin\" BINARY\n"
                      "  TRACK 98 AUDIO\n    INDEX 01 00:00:00\n"
                      "  TRACK 99 AUDIO\n    INDEX 01 00:02:00\n");
            if (throughBin)
                disc.fixture.mapDrive('d', disc.bin());
        });
    };
    QTest::newRow("first track number above the count")
        << firstNumberAboveCount(false) << Ms{} << Ms{} << 0;
    QTest::newRow("the same, through the bin") << firstNumberAboveCount(true) << Ms{} << Ms{} << 0;
    QTest::newRow("cue without its bin") << Setup([](PlayerOnDisc& disc) {
        insert({u"2000"_s})(disc);
        QVERIFY(QFile::remove(disc.bin()));
    }) << Ms{} << Ms{} << 0;
}

void MMControlTest::opensAndPlaysToTheEnd()
{
    QFETCH(Setup, setup);
    QFETCH(Ms, starts);
    QFETCH(Ms, lengths);
    QFETCH(int, end);
    PlayerOnDisc disc(setup);

    QCOMPARE(disc.player.trackCount(), starts.size());
    QCOMPARE(disc.player.position(), starts.value(0));
    // A track the disc does not have is refused: the player keeps the track it was set to last.
    int held = 1;
    for (int track : {1, 2, 3, 0, 4}) {
        disc.player.setTrack(track);
        held = track >= 1 && track <= starts.size() ? track : held;
        QCOMPARE(disc.player.trackStart(), starts.value(held - 1));
        QCOMPARE(disc.player.trackLength(), lengths.value(held - 1));
    }
    QSignalSpy stopped(&disc.player, &MMControl::StopCompleted);
    disc.pressPlay();
    disc.playToTheEnd();
    QCOMPARE(disc.player.position(), end);
    QCOMPARE(stopped.count(), 0);
    QCOMPARE(disc.enabled(), std::pair(!starts.isEmpty(), false));
}

// One walk through the states; the buttons show whether the player is playing.
void MMControlTest::buttonsNotifyAndCommandsDoNot()
{
    PlayerOnDisc disc(insert({u"3000"_s, u"4500"_s, u"2000"_s}));
    MMControl& player = disc.player;
    QSignalSpy played(&player, &MMControl::PlayCompleted);
    QSignalSpy stopped(&player, &MMControl::StopCompleted);
    player.setLoadingFlag(false);
    QCOMPARE(disc.enabled(), std::pair(false, false));
    player.setLoadingFlag(true);

    disc.pressPlay();
    player.setLoadingFlag(false);
    QCOMPARE(disc.enabled(), std::pair(false, false));
    player.setLoadingFlag(true);
    disc.play(kSecond);
    QCOMPARE(player.position(), 3000);
    disc.pressStop();

    // Play goes on from where it stopped; commands take any letter case and say nothing.
    disc.pressPlay();
    disc.play(kSecond / 2);
    player.setCommand(u"Stop"_s);
    player.setCommand(u"STOP"_s); // stopping a stopped player changes nothing
    player.setCommand(u"play"_s); // neither is a command of this control
    player.setCommand(u"eject"_s);
    QCOMPARE(player.position(), 3500);
    QCOMPARE(disc.enabled(), std::pair(true, false));

    // The play start counts once: track 3's 9506 ms, truncated from 9506.67, names its sector.
    player.setTrack(3);
    player.setPlayStart(player.trackStart());
    disc.pressPlay();
    QByteArray bytes = disc.play(kSecond);
    disc.pressStop();
    disc.pressPlay();
    bytes += disc.play(4 * kSecond);
    QVERIFY(bytes == fileBytes(disc.bin(), 563 * kSector));
    QCOMPARE(markOf(bytes, 0).track, 3);
    QCOMPARE(markOf(bytes, kSecond).second, 1);

    // A changed link is followed at the next open, even of an open device.
    disc.fixture.mapDrive('d', disc.fixture.makeDisc(u"two"_s, {u"1000"_s, u"1000"_s}));
    player.setCommand(u"Open"_s);
    QCOMPARE(player.trackCount(), 2);
    disc.pressPlay();
    QVERIFY(disc.play(2 * kSecond) == fileBytes(disc.fixture.path(u"two.bin"_s)));
    player.setCommand(u"CLOSE"_s);
    QCOMPARE(disc.enabled(), std::pair(false, false));
    QCOMPARE(played.count(), 5);
    QCOMPARE(stopped.count(), 2);
}

void MMControlTest::damagedWhilePlayingStopsCleanly_data()
{
    QTest::addColumn<qsizetype>("cutTo"); // the bytes the image keeps; -1: all
    QTest::addColumn<bool>("deleted");
    // The cut lies ahead of the reader, part way through a sector and through one of its reads.
    const qsizetype cut = 757 * kSector + 1000;
    QTest::newRow("cut short") << cut << false;
    QTest::newRow("deleted") << qsizetype(-1) << true;
    QTest::newRow("cut short, then deleted") << cut << true;
}

void MMControlTest::damagedWhilePlayingStopsCleanly()
{
    QFETCH(qsizetype, cutTo);
    QFETCH(bool, deleted);
    PlayerOnDisc disc(insert({u"20000"_s}));
    const QByteArray whole = fileBytes(disc.bin());
    disc.pressPlay();
    disc.play(kSecond / 2);
    if (cutTo >= 0)
        QVERIFY(QFile::resize(disc.bin(), cutTo));
    if (deleted)
        QVERIFY(QFile::remove(disc.bin()));

    // Up to a cut the disc's own bytes play, then silence: three seconds skipped and what was
    // left of the read that met the cut, before giving up. A deleted image that is still open
    // reads on to its end.
    disc.playToTheEnd();
    const qsizetype kept = cutTo < 0 ? whole.size() : cutTo;
    const qsizetype silence = disc.heard.size() - kept;
    QVERIFY(cutTo < 0 ? silence == 0 : silence >= 3 * 75 * kSector && silence < 4 * 75 * kSector);
    QVERIFY(disc.heard.first(kept) == whole.first(kept));
    QCOMPARE(disc.heard.sliced(kept).count('\0'), silence);
    // The control stays usable: stopping does nothing, playing again gives up the same way.
    const int stoppedAt = disc.player.position();
    disc.player.setCommand(u"stop"_s);
    disc.pressPlay();
    disc.playToTheEnd();
    QCOMPARE(disc.player.position(), cutTo < 0 ? stoppedAt : stoppedAt + 3000);
    disc.player.setCommand(u"open"_s);
    QCOMPARE(disc.player.trackLength(), deleted ? 0 : 10093);

    // The disc put back whole plays again.
    insert({u"1500"_s})(disc);
    disc.player.setCommand(u"open"_s);
    disc.pressPlay();
    QVERIFY(disc.play(2 * kSecond) == fileBytes(disc.bin()));
}

int runMMControlTests(int argc, char* argv[])
{
    MMControlTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mmcontrol.moc"

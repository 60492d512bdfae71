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
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QtEndian>
#include <barrier>
#include <future>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSecond = cdtime::kSampleRate;
constexpr int kSector = cdtime::kBytesPerSector;
constexpr int kFrame = cdtime::kBytesPerFrame;
using Ms = QList<int>;

// A player on a program folder of its own, played by hand unless its devices are changed.
struct Rig {
    explicit Rig(const std::function<void(PlayerDevices&)>& change = {})
        : player(fixture.programFolder(), changed(output.devices(), change))
    {
    }
    static PlayerDevices changed(PlayerDevices devices,
                                 const std::function<void(PlayerDevices&)>& change)
    {
        if (change)
            change(devices);
        return devices;
    }
    // Maps D: to a new image of these tracks and opens it.
    void insert(const QStringList& lengths, const QString& name = u"disc"_s)
    {
        fixture.mapDrive('d', fixture.makeDisc(name, lengths));
        player.setCommand(u"open"_s);
        QTRY_COMPARE(player.trackCount(), lengths.size());
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
        QTest::addColumn<QString>("lengths"); // made by mkdisc; none: no image at all
        QTest::addColumn<Ms>("starts");
        QTest::addColumn<Ms>("trackLengths");
        QTest::addColumn<int>("end");
        const auto row = [](const char* name, const QString& lengths, const Ms& starts,
                            const Ms& trackLengths, int end) {
            QTest::newRow(name) << lengths << starts << trackLengths << end;
        };
        // Lengths round up to whole sectors; starts sit on the MSF line, track 1 at 2 s. Playback
        // ends with the last audio track that has any sectors. Without a disc everything reads 0.
        row("sector rounding", u"3000 4500 2000"_s, {2000, 5000, 9506}, {3000, 4506, 2000}, 11506);
        row("data track last", u"2000 3000d"_s, {2000, 4000}, {2000, 3000}, 4000);
        row("no image", {}, {}, {}, 0);
    }

    void opensAndPlaysToTheEnd()
    {
        QFETCH(QString, lengths);
        QFETCH(Ms, starts);
        QFETCH(Ms, trackLengths);
        QFETCH(int, end);
        Rig disc;
        if (!lengths.isEmpty())
            disc.insert(lengths.split(u' '));

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

    // The position is what is heard: the frames handed to the output less the latency it
    // states; playback ends once the last frame is heard.
    void thePositionIsWhatIsHeard()
    {
        Rig disc;
        disc.insert({u"1000"_s});
        disc.pressPlay();
        disc.output.sink().latency = kSecond / 10;
        disc.play(kSecond * 3 / 2); // all of the track handed over
        QCOMPARE(disc.player.position(), 2900);
        QVERIFY(disc.playing());
        disc.output.sink().latency = 0;
        QTRY_VERIFY(!disc.playing());
        QCOMPARE(disc.player.position(), 3000);
    }

    // One walk through the states; the buttons show whether the player is playing.
    void buttonsNotifyAndCommandsDoNot()
    {
        Rig disc;
        disc.insert({u"3000"_s, u"4500"_s, u"2000"_s});
        MMControl& player = disc.player;
        QSignalSpy played(&player, &MMControl::PlayCompleted);
        QSignalSpy stopped(&player, &MMControl::StopCompleted);
        disc.pressPlay();
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
        disc.insert({u"1000"_s, u"1000"_s}, u"two"_s);
        disc.pressPlay();
        QVERIFY(disc.play(2 * kSecond) == fileBytes(disc.fixture.path(u"two.bin"_s)));
        player.setCommand(u"CLOSE"_s);
        QCOMPARE(player.trackCount(), 0);
        QCOMPARE(played.count(), 5);
        QCOMPARE(stopped.count(), 2);
    }

    // Up to a cut ahead of the reader, part way through a sector and through one of its reads,
    // the disc's own bytes play, then silence: three seconds skipped and what was left of the read
    // that met the cut, before giving up.
    void damagedWhilePlayingStopsCleanly()
    {
        Rig disc;
        disc.insert({u"20000"_s});
        const QByteArray whole = fileBytes(disc.bin());
        disc.pressPlay();
        disc.play(kSecond / 2);
        const qsizetype kept = 757 * kSector + 1000;
        QVERIFY(QFile::resize(disc.bin(), kept));
        disc.playToTheEnd();
        const qsizetype silence = disc.heard.size() - kept;
        QVERIFY(silence >= 3 * 75 * kSector && silence < 4 * 75 * kSector);
        QVERIFY(disc.heard.first(kept) == whole.first(kept));
        QCOMPARE(disc.heard.sliced(kept).count('\0'), silence);
    }

    // A drive that hangs holds up only itself: while E: hangs, D: is chosen, opens and plays, as
    // often as the user switches, and E: holds one open at a time.
    void aHungDriveHoldsUpOnlyItself()
    {
        std::promise<void> gate;
        const auto release = qScopeGuard([&gate] { gate.set_value(); });
        auto hung = std::make_shared<std::atomic<int>>(0);
        Rig disc([&](PlayerDevices& devices) {
            devices.openDisc = [hung, answer = gate.get_future().share(),
                                open = devices.openDisc](const QString& path, QString* whyNot) {
                if (path.endsWith(u"hung.cue"_s)) {
                    ++*hung;
                    answer.wait();
                }
                return open(path, whyNot);
            };
        });
        disc.fixture.mapDrive('e', disc.fixture.makeDisc(u"hung"_s, {u"1000"_s}));
        disc.insert({u"3000"_s, u"2000"_s});
        for (int round = 0; round < 20; ++round) {
            disc.player.setDeviceElement(u"E:"_s);
            disc.player.setCommand(u"open"_s);
            disc.player.setDeviceElement(u"D:"_s);
            disc.player.setCommand(u"open"_s);
            QTRY_COMPARE(disc.player.trackCount(), 2);
        }
        disc.pressPlay();
        QVERIFY(disc.play(kSecond).size() == kSecond * kFrame);
        // The rest of E:'s opens gave way while it hung; on a busy machine all of them may have
        // given way to D: before their turn came.
        QVERIFY(hung->load() <= 1);
    }

    // Opens at the same moment on two threads each find their disc, round after round: libcdio
    // parses toc files with one strtok() position for the whole process, so opens take turns.
    void opensAtOnceBothOpen()
    {
        DiscFixture fixture;
        // Discs of 99 tracks of 8 sectors and 60 of 18, as toc files over mkdisc's images.
        const auto toc = [&fixture](const QString& name, int tracks, int sectors) {
            fixture.makeDisc(name, QStringList(tracks, QString::number(sectors * 40 / 3)));
            QString toc = u"CD_DA\n"_s;
            const auto msf = [](int sector) {
                return u"%1:%2:%3"_s.arg(sector / 4500, 2, 10, QChar(u'0'))
                    .arg(sector / 75 % 60, 2, 10, QChar(u'0'))
                    .arg(sector % 75, 2, 10, QChar(u'0'));
            };
            for (int track = 0; track < tracks; ++track)
                toc += u"TRACK AUDIO\nFILE \"%1\" %2 %3\n"_s.arg(
                    fixture.path(name + u".bin"_s), msf(track * sectors), msf(sectors));
            writeFile(fixture.path(name + u".toc"_s), toc.toUtf8());
            return fixture.path(name + u".toc"_s);
        };
        const QString one = toc(u"one"_s, 99, 8), other = toc(u"other"_s, 60, 18);
        for (int round = 0; round < 100; ++round) {
            std::barrier together(2);
            std::unique_ptr<Disc> otherDisc;
            std::thread opening([&] {
                together.arrive_and_wait();
                otherDisc = Disc::open(other);
            });
            together.arrive_and_wait();
            const std::unique_ptr<Disc> oneDisc = Disc::open(one);
            opening.join();
            QVERIFY(oneDisc && oneDisc->tracks().size() == 99u && otherDisc &&
                    otherDisc->tracks().back().lengthMs() == 240);
        }
    }

    // The executable's folder is the program folder when it holds cv.ini or drives/.
    void programFolderIsTheExecutablesOnlyWhenPortable()
    {
        DiscFixture fixture; // its folder holds drives/
        const QString user = u"/home/someone/.config/corvanta"_s, bin = fixture.path(u"bin"_s);
        QCOMPARE(programFolder(fixture.programFolder(), user), fixture.programFolder());
        QVERIFY(QDir().mkdir(bin));
        writeFile(bin + u"/drives"_s, "a file, not a folder");
        QCOMPARE(programFolder(bin, user), user);
        writeFile(bin + u"/cv.ini"_s, {});
        QCOMPARE(programFolder(bin, user), bin);
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
        QTest::addColumn<double>("volume");
        // Track 2 plays from 3000 ms. SDL's silent output drains the ring in real time, so the
        // position still runs to the end; with no output at all play ends where it began.
        QTest::newRow("the disk driver") << "disk"_ba << 3000 + 1506 << 1.0;
        QTest::newRow("the disk driver at half volume") << "disk"_ba << 3000 + 1506 << 0.5;
        QTest::newRow("no such driver: silent output") << "no-such-driver"_ba << 3000 + 1506 << 1.0;
        QTest::newRow("no output at all") << "none"_ba << 3000 << 1.0;
    }

    void playsThroughSdl()
    {
        QFETCH(QByteArray, driver);
        QFETCH(int, end);
        QFETCH(double, volume);
        SdlAudioApi refusing;
        refusing.SetHint = [](const char*, const char*) { return SDL_TRUE; };
        refusing.GetError = [] { return "refused"; };
        refusing.AudioInit = [](const char*) { return -1; };
        refusing.TLSCleanup = [] {};
        SdlAudioOutput none([&] { return std::optional(refusing); });
        SdlAudioOutput& output = driver == "none" ? none : sdl;
        Rig disc([&output](PlayerDevices& devices) {
            devices.makeSink = output.factory();
            devices.setVolume = [&output](double volume) { output.setVolume(volume); };
        });
        const QString written = disc.fixture.path(u"played.raw"_s);
        const auto restore = qScopeGuard([&disc] {
            for (const char* name : {"SDL_AUDIODRIVER", "SDL_DISKAUDIOFILE", "SDL_DISKAUDIODELAY"})
                qunsetenv(name);
            disc.player.setVolume(1.0);
        });
        qputenv("SDL_AUDIODRIVER", driver);
        qputenv("SDL_DISKAUDIOFILE", written.toLocal8Bit());
        qputenv("SDL_DISKAUDIODELAY", "5"); // ms per 46 ms buffer: faster than real time
        disc.insert({u"1000"_s, u"1500"_s});
        disc.player.setTrack(2);
        disc.player.setPlayStart(disc.player.trackStart());
        disc.player.setVolume(volume);
        disc.pressPlay();
        QTRY_VERIFY_WITH_TIMEOUT(!disc.playing(), 30'000);
        QCOMPARE(disc.player.position(), end);
        if (driver != "disk")
            return;

        // Every byte of the disc from the play start on, in order, with silence wherever the
        // device ran ahead of the reads, once the device is closed; each sample scaled by the
        // volume, unchanged at 1. Every frame of a test track carries its mark in the right
        // channel, so no frame of it is silent.
        QByteArray heard = fileBytes(disc.bin(), 75 * kSector);
        for (qsizetype at = 0; at < heard.size(); at += 2)
            qToLittleEndian(qint16(qFromLittleEndian<qint16>(heard.data() + at) * volume),
                            heard.data() + at);
        const auto sound = [&] {
            const QByteArray out = fileBytes(written);
            QByteArray sound;
            for (qsizetype at = 0; at + kFrame <= out.size(); at += kFrame) {
                if (out.sliced(at, kFrame).count('\0') < kFrame)
                    sound += out.sliced(at, kFrame);
            }
            return sound;
        };
        QTRY_VERIFY(sound() == heard);
    }

    // A press of play is never lost, not even while the output of the press before it is still
    // closing where only one may be open; and after a storm of presses the last one plays, the
    // presses long gone having opened no device of their own.
    void theLastPressPlays()
    {
        const auto restore = qScopeGuard([] { qunsetenv("SDL_AUDIODRIVER"); });
        qputenv("SDL_AUDIODRIVER", "dummy");
        Rig disc([this](PlayerDevices& devices) { devices.makeSink = sdl.factory(); });
        disc.insert({u"3000"_s});
        const int opened = devicesOpened;
        // The first press's device opens slowly, so that the storm's presses all come before
        // the output's turn for them does.
        opensHeld = true;
        disc.pressPlay();
        QTRY_VERIFY(heldOpens > 0);
        for (int press = 0; press < 300; ++press) {
            disc.pressStop();
            disc.pressPlay();
        }
        disc.pressStop();
        opensHeld = false;
        disc.pressPlay();
        QTRY_VERIFY(disc.player.position() > 2000 && disc.playing()); // SDL's silent output plays
        QCOMPARE(devicesOpened, opened + 2);
    }

private:
    // SDL's audio is the process's: one output opens and closes it for every test, in turn, as
    // in the program. It counts the devices it opens.
    static inline std::atomic<int> devicesOpened{0};
    static inline std::atomic<bool> opensHeld{false};
    static inline std::atomic<int> heldOpens{0};
    static inline std::optional<SdlAudioApi> realSdl;
    SdlAudioOutput sdl{[] {
        static QLibrary library(u"SDL2-2.0"_s, 0);
        realSdl = SdlAudioApi::load(library);
        std::optional<SdlAudioApi> counting = realSdl;
        if (counting)
            counting->OpenAudioDevice = [](const char* name, int capture,
                                           const SDL_AudioSpec* wanted, SDL_AudioSpec* obtained,
                                           int changes) {
                for (heldOpens += opensHeld ? 1 : 0; opensHeld;)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                const SDL_AudioDeviceID device =
                    realSdl->OpenAudioDevice(name, capture, wanted, obtained, changes);
                devicesOpened += device != 0 ? 1 : 0;
                return device;
            };
        return counting;
    }};
};

QTEST_MAIN(PlayerTest)
#include "tst_player.moc"

#include "cdtime.h"
#include "discfixture.h"
#include "mmcontrol.h"
#include "ringbuffer.h"
#include "sdlaudiosink.h"

#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

// The real SDL output, through drivers that need no sound hardware.
class SdlAudioSinkTest final : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void diskDriverWritesTheDiscBytes();
    void refusedDeviceFallsBackToSilentOutput_data();
    void refusedDeviceFallsBackToSilentOutput();
    void withoutAnyOutputPlayEndsAtOnce_data();
    void withoutAnyOutputPlayEndsAtOnce();
};

void SdlAudioSinkTest::cleanup()
{
    for (const char* name : {"SDL_AUDIODRIVER", "SDL_DISKAUDIOFILE", "SDL_DISKAUDIODELAY"})
        qunsetenv(name);
}

void SdlAudioSinkTest::diskDriverWritesTheDiscBytes()
{
    DiscFixture fixture;
    fixture.mapDrive('d', fixture.makeDisc(u"disc"_s, {u"1000"_s, u"1500"_s}));
    const QString written = fixture.path(u"played.raw"_s);
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", written.toLocal8Bit());
    qputenv("SDL_DISKAUDIODELAY", "5"); // ms per 46 ms buffer: faster than real time

    SdlAudioOutput output;
    MMControl player(fixture.programFolder(), {output.factory()});
    player.setCommand(u"open"_s);
    player.setTrack(2);
    player.setPlayStart(player.trackStart());
    QTest::mouseClick(qobject_cast<QToolButton*>(player.childAt(13, 11)), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!player.isPlaying(), 30'000);
    QCOMPARE(player.position(), 2000 + 1000 + 1506);

    // The device starts on silence while the first reads arrive; after that, every byte is the
    // disc's own from the play start on, then silence again.
    const QByteArray out = fileBytes(written);
    const QByteArray track = fileBytes(fixture.path(u"disc.bin"_s), 75 * cdtime::kBytesPerSector);
    qsizetype start = 0;
    while (start < out.size() && out.at(start) == 0)
        ++start;
    start -= start % cdtime::kBytesPerFrame;
    QVERIFY(out.mid(start, track.size()) == track);
    QVERIFY(out.mid(start + track.size()).count('\0') == out.size() - start - track.size());
}

void SdlAudioSinkTest::refusedDeviceFallsBackToSilentOutput_data()
{
    QTest::addColumn<QByteArray>("driver");
    QTest::addColumn<QByteArray>("diskFile");
    QTest::newRow("no such driver") << "no-such-driver"_ba << QByteArray();
    QTest::newRow("disk output in a missing folder") << "disk"_ba
                                                     << "missing/played.raw"_ba;
}

// The silent output still drains the ring in real time, so the player's position moves on and
// playback ends by itself.
void SdlAudioSinkTest::refusedDeviceFallsBackToSilentOutput()
{
    QFETCH(QByteArray, driver);
    QFETCH(QByteArray, diskFile);
    DiscFixture fixture;
    fixture.mapDrive('d', fixture.makeDisc(u"disc"_s, {u"1000"_s}));
    qputenv("SDL_AUDIODRIVER", driver);
    qputenv("SDL_DISKAUDIOFILE", fixture.path(QString::fromLatin1(diskFile)).toLocal8Bit());
    SdlAudioOutput output;
    {
        RingBuffer ring(cdtime::kBytesPerSector);
        ring.close();
        const std::unique_ptr<AudioSink> sink = output.factory()(ring);
        QCOMPARE(dynamic_cast<SdlAudioSink&>(*sink).driverName(), "dummy");
    }

    MMControl player(fixture.programFolder(), {output.factory()});
    player.setCommand(u"open"_s);
    QTest::mouseClick(qobject_cast<QToolButton*>(player.childAt(13, 11)), Qt::LeftButton);
    QVERIFY(player.isPlaying());
    QTRY_VERIFY_WITH_TIMEOUT(!player.isPlaying(), 10'000);
    QCOMPARE(player.position(), 3000);
}

void SdlAudioSinkTest::withoutAnyOutputPlayEndsAtOnce_data()
{
    QTest::addColumn<bool>("sdlLoads");
    QTest::newRow("SDL missing") << false;
    QTest::newRow("no device, not even the silent one") << true;
}

// With no sound output to be had, a play ends by itself where it began.
void SdlAudioSinkTest::withoutAnyOutputPlayEndsAtOnce()
{
    QFETCH(bool, sdlLoads);
    SdlAudioApi refusing;
    refusing.SetHint = [](const char*, const char*) { return SDL_TRUE; };
    refusing.AudioInit = [](const char*) { return -1; };
    refusing.AudioQuit = [] {};
    refusing.PauseAudioDevice = [](SDL_AudioDeviceID, int) {};
    refusing.CloseAudioDevice = [](SDL_AudioDeviceID) {};
    const AudioSinkFactory makeSink = [&](RingBuffer& ring) -> std::unique_ptr<AudioSink> {
        return sdlLoads ? SdlAudioSink::open(refusing, ring) : nullptr;
    };
    DiscFixture fixture;
    fixture.mapDrive('d', fixture.makeDisc(u"disc"_s, {u"1000"_s}));
    MMControl player(fixture.programFolder(), {makeSink});
    player.setCommand(u"open"_s);
    QTest::mouseClick(qobject_cast<QToolButton*>(player.childAt(13, 11)), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!player.isPlaying(), 10'000);
    QCOMPARE(player.position(), 2000);
}

int runSdlAudioSinkTests(int argc, char* argv[])
{
    SdlAudioSinkTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sdlaudiosink.moc"

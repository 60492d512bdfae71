#include "mprisplayer.h"

#include "mediaplayer2adaptor.h"
#include "mprisproperties.h"
#include "playeradaptor.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>
#include <cmath>

namespace {

const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kName = QStringLiteral("org.mpris.MediaPlayer2.corvanta");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

} // namespace

MprisPlayer::MprisPlayer(MprisControls controls, QObject* parent)
    : QObject(parent), controls_(std::move(controls))
{
    new MediaPlayer2Adaptor(this);
    new PlayerAdaptor(this);
    new MprisProperties(this, *this);
}

MprisPlayer::~MprisPlayer()
{
    if (!name_.isEmpty())
        bus_.unregisterService(name_);
}

// The name taken through the connection, so that it answers calls to that name itself.
void MprisPlayer::publish(QDBusConnection bus)
{
    if (!bus.isConnected() || !bus.registerObject(kPath, this))
        return;
    bus_ = bus;
    for (const QString& name :
         {kName, kName + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid())}) {
        if (bus_.registerService(name)) {
            name_ = name;
            return;
        }
    }
}

bool MprisPlayer::handOver(QDBusConnection bus, const QString& path)
{
    constexpr int kAnswerMs = 5000;
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kName))
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kName, kPath, kPlayerInterface, QStringLiteral("OpenUri"));
    call << QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString();
    return bus.call(call, QDBus::Block, kAnswerMs).type() == QDBusMessage::ReplyMessage;
}

void MprisPlayer::setState(const MprisState& state)
{
    const MprisState before = std::exchange(state_, state);
    if (!pressing_)
        tellChangesSince(before);
}

void MprisPlayer::positionJumped()
{
    if (pressing_)
        jumped_ = true;
    else
        emit Seeked(position());
}

// Each property of the player that changed is sent, all in one signal.
void MprisPlayer::tellChangesSince(const MprisState& before)
{
    const MprisState& state = state_;
    QVariantMap changed;
    if (before.playing != state.playing)
        changed.insert(QStringLiteral("PlaybackStatus"), playbackStatus());
    if ((before.track != 0) != hasTrack())
        changed.insert(QStringLiteral("CanPlay"), hasTrack());
    if (before.canGoNext != state.canGoNext)
        changed.insert(QStringLiteral("CanGoNext"), state.canGoNext);
    if (before.canGoPrevious != state.canGoPrevious)
        changed.insert(QStringLiteral("CanGoPrevious"), state.canGoPrevious);
    if (std::tie(before.track, before.lengthUs, before.title, before.artist, before.album,
                 before.lyrics) !=
        std::tie(state.track, state.lengthUs, state.title, state.artist, state.album, state.lyrics))
        changed.insert(QStringLiteral("Metadata"), metadata());
    if (before.volume != state.volume)
        changed.insert(QStringLiteral("Volume"), state.volume);
    if (!changed.isEmpty())
        send(changed);
}

void MprisPlayer::send(const QVariantMap& changed)
{
    if (name_.isEmpty())
        return;
    QDBusMessage signal =
        QDBusMessage::createSignal(kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    bus_.send(signal);
}

QString MprisPlayer::identity() const
{
    return QStringLiteral("Corvanta");
}

QString MprisPlayer::desktopEntry() const
{
    return QStringLiteral("io.github.corvanta.Corvanta");
}

QString MprisPlayer::playbackStatus() const
{
    return state_.playing ? QStringLiteral("Playing") : QStringLiteral("Stopped");
}

QVariantMap MprisPlayer::metadata() const
{
    if (state_.track == 0)
        return {{QStringLiteral("mpris:trackid"),
                 QVariant::fromValue(QDBusObjectPath(
                     QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack")))}};
    QVariantMap metadata{
        {QStringLiteral("mpris:trackid"),
         QVariant::fromValue(QDBusObjectPath(
             QStringLiteral("/io/github/corvanta/Corvanta/track/%1").arg(state_.track)))},
        {QStringLiteral("mpris:length"), state_.lengthUs},
        {QStringLiteral("xesam:trackNumber"), state_.track},
        {QStringLiteral("xesam:title"), state_.title},
        {QStringLiteral("xesam:asText"), state_.lyrics}};
    if (!state_.artist.isEmpty())
        metadata.insert(QStringLiteral("xesam:artist"), QStringList{state_.artist});
    if (!state_.album.isEmpty())
        metadata.insert(QStringLiteral("xesam:album"), state_.album);
    return metadata;
}

// What the desktop entry opens: cue sheets, the image types and folders of tracks.
QStringList MprisPlayer::mimeTypes() const
{
    return {QStringLiteral("application/x-cue"), QStringLiteral("application/x-cdrdao-toc"),
            QStringLiteral("application/x-nrg"), QStringLiteral("inode/directory")};
}

// Only local files: a disc is read where it lies.
void MprisPlayer::OpenUri(const QString& uri)
{
    const QUrl url(uri);
    if (!url.isLocalFile()) {
        if (calledFromDBus())
            sendErrorReply(QDBusError::NotSupported, QStringLiteral("only file:// URIs open"));
        return;
    }
    press([this, path = url.toLocalFile()] { controls_.open(path); });
}

// The window's own steps inside one press (a stop and a play for the choice of a track while
// playing) are not shown one by one.
void MprisPlayer::press(const std::function<void()>& control)
{
    if (!answering_)
        return;
    const MprisState before = state_;
    pressing_ = true;
    control();
    pressing_ = false;
    tellChangesSince(before);
    if (std::exchange(jumped_, false))
        emit Seeked(position());
}

void MprisPlayer::setRate(double rate)
{
    if (rate == 0.0)
        Pause();
}

// A value out of range is taken as the nearest end, and the bus is told the volume it got.
void MprisPlayer::setVolume(double volume)
{
    const double before = state_.volume;
    if (!std::isnan(volume))
        controls_.setVolume(std::clamp(volume, 0.0, 1.0));
    if (state_.volume == before && volume != before)
        send({{QStringLiteral("Volume"), state_.volume}});
}

void MprisPlayer::Raise()
{
    controls_.raise();
}

void MprisPlayer::Quit()
{
    press(controls_.quit);
}

void MprisPlayer::Play()
{
    if (!state_.playing)
        press(controls_.play);
}

// A pause stops: the lyrics could not follow a track resumed part way through.
void MprisPlayer::Pause()
{
    Stop();
}

void MprisPlayer::PlayPause()
{
    state_.playing ? Stop() : Play();
}

void MprisPlayer::Stop()
{
    if (state_.playing)
        press(controls_.stop);
}

void MprisPlayer::Next()
{
    press(controls_.next);
}

void MprisPlayer::Previous()
{
    press(controls_.previous);
}

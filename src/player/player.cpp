#include "player.h"

#include "cdtime.h"
#include "disc.h"
#include "discid.h"
#include "playback.h"
#include "playerlog.h"
#include "taskqueue.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <utility>

namespace {

// The end watch looks when the rest should have played, and at least once a second in case the
// disc goes away sooner.
constexpr int kEndWatchShortestMs = 100;
constexpr int kEndWatchLongestMs = 1000;

} // namespace

Player::Player(QString programFolder, PlayerDevices devices, QObject* parent)
    : QObject(parent), programFolder_(std::move(programFolder)), devices_(std::move(devices)),
      drives_(programFolder_, devices_)
{
    endWatch_.setSingleShot(true);
    connect(&endWatch_, &QTimer::timeout, this, &Player::checkPlaybackEnd);
    connect(&opening_, &QFutureWatcherBase::finished, this, [this] {
        if (opening_.future().resultCount() > 0 && openAsked_ == openRequest_)
            opened(opening_.result());
    });
    // The links are known at once, and the optical drives once they answer, so that the
    // settings window has them while an open waits for its drive.
    listDrives();
}

Player::~Player() = default;

DriveTable Player::drives() const
{
    return drives_.drives();
}

void Player::setCommand(const QString& command)
{
    if (command.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0)
        open();
    else if (command.compare(QLatin1String("close"), Qt::CaseInsensitive) == 0)
        close();
    else if (command.compare(QLatin1String("stop"), Qt::CaseInsensitive) == 0)
        stopPlayback();
}

int Player::trackCount() const
{
    return disc_ ? int(disc_->tracks().size()) : 0;
}

int Player::firstTrack() const
{
    return disc_ ? disc_->tracks().front().number : 1;
}

void Player::setTrack(int number)
{
    if (disc_ && disc_->track(number))
        track_ = number;
}

int Player::trackLength(int number) const
{
    const Track* track = disc_ ? disc_->track(number) : nullptr;
    return track ? track->lengthMs() : 0;
}

int Player::trackStart(int number) const
{
    const Track* track = disc_ ? disc_->track(number) : nullptr;
    return track ? cdtime::frameToMs(cdtime::sectorToFrame(track->firstSector)) : 0;
}

int Player::trackHeard() const
{
    if (!playback_)
        return track_;
    const int sector = std::min(cdtime::frameToSector(originFrame_ + playback_->framesHeard()),
                                disc_->audioEndSector() - 1);
    const Track* heard = disc_->trackAt(sector);
    return heard ? heard->number : track_;
}

int Player::position() const
{
    if (!disc_)
        return 0;
    return cdtime::frameToMs(playback_ ? originFrame_ + playback_->framesHeard() : positionFrame_);
}

DiscText Player::text(int track) const
{
    return disc_ ? disc_->text(track) : DiscText{};
}

QString Player::discId() const
{
    return disc_ ? musicBrainzDiscId(disc_->tracks()) : QString();
}

TrackSource Player::source(int track) const
{
    return disc_ ? disc_->source(track) : TrackSource{};
}

void Player::setPlayStart(int ms)
{
    playStartSector_ = cdtime::msToSector(ms);
}

void Player::setVolume(double volume)
{
    volume_ = std::clamp(volume, 0.0, 1.0);
    if (devices_.setVolume)
        devices_.setVolume(volume_);
}

void Player::listDrives()
{
    if (const std::optional<QFuture<bool>> listed = drives_.list())
        whenReady(*listed, this, [this](bool) { emit drivesListed(); });
}

// Opening an open device reads the disc afresh, so a changed disc or drive link is seen. A drive
// may take seconds to answer, or never answer.
void Player::open()
{
    close();
    openAsked_ = openRequest_;
    opening_.setFuture(drives_.open(deviceElement_, openRequest_));
}

void Player::opened(std::shared_ptr<Disc> disc)
{
    disc_ = std::move(disc);
    if (disc_) {
        const Track* first = disc_->firstAudioTrack();
        positionFrame_ = cdtime::sectorToFrame(first ? first->firstSector : 0);
        // Another disc may not have the track held before.
        if (!disc_->track(track_))
            track_ = disc_->tracks().front().number;
    }
    emit stateChanged();
    emit openAnswered();
}

void Player::close()
{
    drives_.supersede(++openRequest_);
    stopPlayback();
    disc_.reset();
    playStartSector_.reset();
    positionFrame_ = 0;
    emit stateChanged();
}

void Player::stopPlayback()
{
    ++playRequest_;
    std::exchange(sinkAsked_, {}).cancel();
    if (!playback_)
        return;
    endWatch_.stop();
    positionFrame_ = originFrame_ + playback_->framesHeard();
    playback_.reset();
    emit stateChanged();
}

void Player::play()
{
    if (!disc_ || playback_)
        return;
    const int first = playStartSector_.value_or(cdtime::frameToSector(positionFrame_));
    const int end = disc_->audioEndSector();
    playStartSector_.reset();
    if (first < 0 || first >= end)
        return;
    originFrame_ = cdtime::sectorToFrame(first);
    playback_ = std::make_unique<Playback>(disc_, first, end, devices_.readSectors);
    const std::uint64_t request = ++playRequest_;
    emit stateChanged();
    // The sound output may take its time to open; a stop before then drops it.
    sinkAsked_ = devices_.makeSink(playback_->ring());
    whenReady(sinkAsked_, this, [this, request](const std::shared_ptr<AudioSink>& sink) {
        if (request != playRequest_)
            return;
        sinkAsked_ = {}; // the playback holds the sink alone, and lets it go when it stops
        started(sink);
    });
}

void Player::started(std::shared_ptr<AudioSink> sink)
{
    playback_->setSink(std::move(sink));
    endWatch_.start(kEndWatchShortestMs);
    emit PlayCompleted();
}

void Player::stop()
{
    if (!playback_)
        return;
    stopPlayback();
    emit StopCompleted();
}

void Player::checkPlaybackEnd()
{
    if (!playback_)
        return;
    if (playback_->isFinished()) {
        stop();
        return;
    }
    // Playback runs to the end of the disc's audio, unless the disc goes away first.
    const std::int64_t left =
        cdtime::sectorToFrame(disc_->audioEndSector()) - originFrame_ - playback_->framesHeard();
    endWatch_.start(std::clamp(cdtime::frameToMs(left), kEndWatchShortestMs, kEndWatchLongestMs));
}

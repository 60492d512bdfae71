#include "mmcontrol.h"

#include "cdtime.h"
#include "disc.h"
#include "drivetable.h"
#include "playback.h"

#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace {

constexpr QSize kButtonSize(27, 22);
// The end watch looks when the rest should have played, and at least once a second in case the
// disc goes away sooner.
constexpr int kEndWatchShortestMs = 100;
constexpr int kEndWatchLongestMs = 1000;

QToolButton* makeButton(QStyle::StandardPixmap icon, const QString& tip, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setFixedSize(kButtonSize);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace

MMControl::MMControl(QString programFolder, PlayerDevices devices, QWidget* parent)
    : QWidget(parent), programFolder_(std::move(programFolder)), devices_(std::move(devices)),
      playButton_(makeButton(QStyle::SP_MediaPlay, QStringLiteral("再生"), this)),
      stopButton_(makeButton(QStyle::SP_MediaStop, QStringLiteral("停止"), this))
{
    setFixedSize(kButtonSize.width() * 2, kButtonSize.height());
    stopButton_->move(kButtonSize.width(), 0);

    connect(playButton_, &QToolButton::clicked, this, &MMControl::playPressed);
    connect(stopButton_, &QToolButton::clicked, this, &MMControl::stopPressed);
    endWatch_.setSingleShot(true);
    connect(&endWatch_, &QTimer::timeout, this, &MMControl::checkPlaybackEnd);
    updateButtons();
}

MMControl::~MMControl() = default;

DriveTable MMControl::drives() const
{
    return DriveTable::scan(programFolder_, devices_.opticalDrives());
}

void MMControl::setCommand(const QString& command)
{
    if (command.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0)
        open();
    else if (command.compare(QLatin1String("close"), Qt::CaseInsensitive) == 0)
        close();
    else if (command.compare(QLatin1String("stop"), Qt::CaseInsensitive) == 0)
        stopPlayback();
}

void MMControl::setDeviceElement(const QString& drive)
{
    deviceElement_ = drive;
}

void MMControl::setTimeFormat(int)
{
    // Milliseconds are the only format the program uses, and the only one kept.
}

int MMControl::trackCount() const
{
    return disc_ ? int(disc_->tracks().size()) : 0;
}

void MMControl::setTrack(int number)
{
    if (disc_ && disc_->track(number))
        track_ = number;
}

int MMControl::trackLength() const
{
    const Track* track = disc_ ? disc_->track(track_) : nullptr;
    return track ? track->lengthMs() : 0;
}

int MMControl::trackStart() const
{
    const Track* track = disc_ ? disc_->track(track_) : nullptr;
    return track ? cdtime::frameToMs(cdtime::sectorToFrame(track->firstSector)) : 0;
}

int MMControl::position() const
{
    if (!disc_)
        return 0;
    return cdtime::frameToMs(playback_ ? originFrame_ + playback_->framesPlayed() : positionFrame_);
}

void MMControl::setPlayStart(int ms)
{
    playStartSector_ = cdtime::msToSector(ms);
}

void MMControl::setLoadingFlag(bool ready)
{
    ready_ = ready;
    updateButtons();
}

// Opening an open device reads the disc afresh, so a changed disc or drive link is seen.
void MMControl::open()
{
    close();
    const DriveTable drives = this->drives();
    const std::optional<QString> target =
        deviceElement_.isEmpty() ? drives.defaultTarget() : drives.target(deviceElement_.front());
    if (target)
        disc_ = Disc::open(*target);
    if (disc_) {
        const Track* first = disc_->firstAudioTrack();
        positionFrame_ = cdtime::sectorToFrame(first ? first->firstSector : 0);
        // Another disc may not have the track held before.
        if (!disc_->track(track_))
            track_ = disc_->tracks().front().number;
    }
    updateButtons();
}

void MMControl::close()
{
    stopPlayback();
    disc_.reset();
    playStartSector_.reset();
    positionFrame_ = 0;
    updateButtons();
}

void MMControl::stopPlayback()
{
    if (!playback_)
        return;
    endWatch_.stop();
    positionFrame_ = originFrame_ + playback_->framesPlayed();
    playback_->stop();
    std::erase_if(stopped_, [](const auto& stopped) { return stopped->isDone(); });
    stopped_.push_back(std::move(playback_));
    updateButtons();
}

void MMControl::playPressed()
{
    if (!disc_ || playback_)
        return;
    const int first = playStartSector_.value_or(cdtime::frameToSector(positionFrame_));
    const int end = disc_->audioEndSector();
    playStartSector_.reset();
    if (first < 0 || first >= end)
        return;
    originFrame_ = cdtime::sectorToFrame(first);
    playback_ = std::make_unique<Playback>(disc_, first, end, devices_);
    endWatch_.start(kEndWatchShortestMs);
    updateButtons();
    emit PlayCompleted();
}

void MMControl::stopPressed()
{
    if (!playback_)
        return;
    stopPlayback();
    emit StopCompleted();
}

void MMControl::checkPlaybackEnd()
{
    if (!playback_)
        return;
    if (playback_->isFinished()) {
        stopPlayback();
        return;
    }
    // Playback runs to the end of the disc's audio, unless the disc goes away first.
    const std::int64_t left =
        cdtime::sectorToFrame(disc_->audioEndSector()) - originFrame_ - playback_->framesPlayed();
    endWatch_.start(std::clamp(cdtime::frameToMs(left), kEndWatchShortestMs, kEndWatchLongestMs));
}

void MMControl::updateButtons()
{
    playButton_->setEnabled(ready_ && disc_ && !playback_);
    stopButton_->setEnabled(ready_ && playback_);
}

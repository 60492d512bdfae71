#include "mmcontrol.h"

#include <QStyle>
#include <QToolButton>

namespace {

constexpr QSize kButtonSize(27, 22);

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
    : QWidget(parent), player_(std::move(programFolder), std::move(devices)),
      playButton_(makeButton(QStyle::SP_MediaPlay, QStringLiteral("再生"), this)),
      stopButton_(makeButton(QStyle::SP_MediaStop, QStringLiteral("停止"), this))
{
    setFixedSize(kButtonSize.width() * 2, kButtonSize.height());
    stopButton_->move(kButtonSize.width(), 0);

    connect(playButton_, &QToolButton::clicked, &player_, &Player::play);
    connect(stopButton_, &QToolButton::clicked, &player_, &Player::stop);
    connect(&player_, &Player::stateChanged, this, &MMControl::updateButtons);
    connect(&player_, &Player::stateChanged, this, &MMControl::stateChanged);
    connect(&player_, &Player::openAnswered, this, &MMControl::openAnswered);
    connect(&player_, &Player::drivesListed, this, &MMControl::drivesListed);
    connect(&player_, &Player::PlayCompleted, this, &MMControl::PlayCompleted);
    connect(&player_, &Player::StopCompleted, this, &MMControl::StopCompleted);
    updateButtons();
}

void MMControl::setLoadingFlag(bool ready)
{
    ready_ = ready;
    updateButtons();
    emit stateChanged();
}

bool MMControl::canPlay() const
{
    return playButton_->isEnabled();
}

void MMControl::pressPlay()
{
    playButton_->click();
}

void MMControl::pressStop()
{
    stopButton_->click();
}

void MMControl::updateButtons()
{
    playButton_->setEnabled(ready_ && player_.hasDisc() && !player_.isPlaying());
    stopButton_->setEnabled(ready_ && player_.isPlaying());
}

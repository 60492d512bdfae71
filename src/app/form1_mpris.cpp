// The main window on the desktop's media controls: what they show of it, and what they may press.

#include "form1.h"
#include "mmcontrol.h"
#include "mprisplayer.h"
#include "trackend.h"

#include <QComboBox>
#include <QLoggingCategory>
#include <QTimer>

namespace {

Q_LOGGING_CATEGORY(desktopLog, "corvanta.desktop")

// How often the bus looks which track is heard while playback runs on from track to track.
constexpr int kTrackWatchMs = 250;

} // namespace

void Form1::connectMediaControls()
{
    MprisControls controls;
    // Brought to the front by the window manager, or on Wayland by the compositor where it lets
    // a program ask; the program's own activation does not run.
    controls.raise = [this] {
        showNormal();
        raise();
        activateWindow();
        if (wayland_ && !wayland_->activation)
            qCWarning(desktopLog) << "the window cannot be brought to the front: the compositor"
                                     " offers no xdg-activation";
    };
    controls.quit = [this] { close(); };
    controls.play = [this] { MMControl1->pressPlay(); };
    controls.stop = [this] { MMControl1->pressStop(); };
    controls.next = [this] { chooseNeighbour(1); };
    controls.previous = [this] { chooseNeighbour(-1); };
    controls.positionUs = [this](int track) {
        if (!MMControl1->isPlaying())
            return qint64(0);
        return qint64(std::clamp(MMControl1->position() - MMControl1->trackStart(track), 0,
                                 MMControl1->trackLength(track))) *
               1000;
    };
    controls.setVolume = [this](double volume) {
        MMControl1->setVolume(volume);
        tellMediaControls();
    };
    controls.open = [this](const QString& path) { openAlbum(path); };
    mpris_ = new MprisPlayer(controls, this);
    trackWatch_ = new QTimer(this);
    trackWatch_->setInterval(kTrackWatchMs);
    connect(trackWatch_, &QTimer::timeout, this, &Form1::tellMediaControls);
    connect(MMControl1, &MMControl::stateChanged, this, &Form1::tellMediaControls);
    mpris_->publish(QDBusConnection::sessionBus());
}

// The track chosen, or the one after it that playback without lyrics has run on into: the window
// ends a track with lyrics at its end.
int Form1::trackHeard() const
{
    return Timer1->isActive() ? MMControl1->track() : MMControl1->trackHeard();
}

void Form1::tellMediaControls()
{
    const int heard = trackHeard();
    const int item = heard - MMControl1->firstTrack();
    MprisState state;
    state.playing = MMControl1->isPlaying();
    state.canGoNext = item + 1 < Combo1->count();
    state.canGoPrevious = item > 0 && item < Combo1->count();
    state.volume = MMControl1->volume();
    if (MMControl1->trackCount() > 0) {
        state.track = heard;
        state.lengthUs = qint64(MMControl1->trackLength(heard)) * 1000;
        const DiscText song = MMControl1->text(heard);
        state.title = song.title.isEmpty() ? TrackName(heard) : song.title;
        state.artist = song.performer;
        state.album = MMControl1->text(0).title;
        QStringList lines;
        for (int line = 0; line < List1.count(); ++line)
            lines << List1.at(line).toString();
        state.lyrics = lines.join(u'\n');
    }
    mpris_->setState(state);
    if (!state.playing || Timer1->isActive())
        trackWatch_->stop();
    else if (!trackWatch_->isActive())
        trackWatch_->start();
}

// As a user's choice of the item after or before the track heard; a track that was playing goes
// on with the new.
void Form1::chooseNeighbour(int step)
{
    const int item = trackHeard() - MMControl1->firstTrack() + step;
    if (item < 0 || item >= Combo1->count())
        return;
    const bool playing = MMControl1->isPlaying();
    Combo1->setCurrentIndex(item);
    Combo1_Click();
    if (playing)
        MMControl1->pressPlay();
}

// The main window on the desktop's media controls: what they show of it, and what they may press.

#include "form1.h"
#include "mmcontrol.h"
#include "mprisplayer.h"

#include <QComboBox>

namespace {

// The item chosen, or with none chosen (after 更新) the one of the track the player holds.
int heldItem(const QComboBox& list, const MMControl& player)
{
    return list.currentIndex() >= 0 ? list.currentIndex() : player.track() - player.firstTrack();
}

} // namespace

void Form1::connectMediaControls()
{
    MprisControls controls;
    // Brought to the front by the window manager; the program's own activation does not run.
    controls.raise = [this] {
        showNormal();
        raise();
        activateWindow();
    };
    controls.quit = [this] { close(); };
    controls.play = [this] { MMControl1->pressPlay(); };
    controls.stop = [this] { MMControl1->pressStop(); };
    controls.next = [this] { chooseNeighbour(1); };
    controls.previous = [this] { chooseNeighbour(-1); };
    controls.positionUs = [this] {
        return qint64(MMControl1->position() - MMControl1->trackStart()) * 1000;
    };
    mpris_ = new MprisPlayer(controls, this);
    connect(MMControl1, &MMControl::stateChanged, this, &Form1::tellMediaControls);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &Form1::tellMediaControls);
    mpris_->publish(QDBusConnection::sessionBus());
}

void Form1::tellMediaControls()
{
    const int item = heldItem(*Combo1, *MMControl1);
    MprisState state;
    state.playing = MMControl1->isPlaying();
    state.canPlay = MMControl1->canPlay();
    state.canGoNext = item + 1 < Combo1->count();
    state.canGoPrevious = item > 0 && item < Combo1->count();
    if (MMControl1->trackCount() > 0) {
        state.track = MMControl1->track();
        state.lengthUs = qint64(MMControl1->trackLength()) * 1000;
        const DiscText song = MMControl1->text(state.track);
        state.title = song.title.isEmpty() ? Combo1->itemText(item) : song.title;
        state.artist = song.performer;
        state.album = MMControl1->text(0).title;
        QStringList lines;
        for (int line = 0; line < List1.count(); ++line)
            lines << List1.at(line).toString();
        state.lyrics = lines.join(u'\n');
    }
    mpris_->setState(state);
}

// As a user's choice of the item after or before; a track that was playing goes on with the new.
void Form1::chooseNeighbour(int step)
{
    const int item = heldItem(*Combo1, *MMControl1) + step;
    if (item < 0 || item >= Combo1->count())
        return;
    const bool playing = MMControl1->isPlaying();
    Combo1->setCurrentIndex(item);
    Combo1_Click();
    if (playing)
        MMControl1->pressPlay();
}

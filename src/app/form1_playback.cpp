// The main window's side of playback: the track list, the player's notifications and the tick
// that keeps the elapsed time and the lyrics in step with the music.

#include "colors.h"
#include "form1.h"
#include "lyricwindow.h"
#include "mmcontrol.h"
#include "mprisplayer.h"
#include "picturebox.h"
#include "timetag.h"
#include "trackend.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kTickMs = 100;
// Ticks come this long after each tenth of a second heard: a little after, for the position
// read between the sound device's asks may be a few milliseconds off.
constexpr int kTickPhaseMs = 15;

// Until the next tick, so that ticks keep step with what is heard rather than with when play was
// pressed: a second's line then matches at the first tick after the second begins to be heard,
// however the sound output's start fell. Never two ticks closer than a fifth of the interval.
int nextTickMs(int elapsed)
{
    const int into = ((elapsed - kTickPhaseMs) % kTickMs + kTickMs) % kTickMs;
    const int next = kTickMs - into;
    return next < kTickMs / 5 ? next + kTickMs : next;
}

} // namespace

// Items stay in track order, never sorted; each carries its track's length for the tick. Item i
// stands for the disc's (i + 1)-th track, under the disc's own number, which a disc starting at
// track 2 or later shows. Reading the lengths leaves the player's track where it was.
void Form1::FillTrackList()
{
    Combo1->clear();
    const int first = MMControl1->firstTrack();
    for (int track = first; track < first + MMControl1->trackCount(); ++track) {
        const int length = MMControl1->trackLength(track);
        Combo1->addItem(TrackItem(track, length), length);
    }
    // Nothing is chosen until the user chooses.
    Combo1->setCurrentIndex(-1);
    tellMediaControls();
}

void Form1::Command1_Click()
{
    FillTrackList();
}

void Form1::Combo1_Click()
{
    setSynchronising(false);
    MMControl1->setCommand(QStringLiteral("Stop"));
    rewindToSelectedTrack();
}

void Form1::MMControl1_PlayCompleted()
{
    // Without lyrics the track just plays: no elapsed time, no end of track.
    if (!List1.setSelection(0))
        return;
    sync_.reset();
    setSynchronising(true);
}

void Form1::MMControl1_StopCompleted()
{
    setSynchronising(false);
    rewindToSelectedTrack();
}

// A playback stopped from code, as 「設定」's OK closes the player while a track plays: the window
// comes back as the stop button leaves it, rather than following a track that no longer plays.
void Form1::playerStopped()
{
    if (Timer1->isActive() && !MMControl1->isPlaying())
        MMControl1_StopCompleted();
}

void Form1::Timer1_Timer()
{
    const int start = MMControl1->trackStart();
    const int elapsed = MMControl1->position() - start;
    Label10->setText(FormatTimeTag(elapsed));

    const QVariant length = Combo1->currentData();
    if (TrackEnded(Label10->text(), Combo1->currentText(), elapsed,
                   length.isValid() ? std::optional(length.toInt()) : std::nullopt)) {
        MMControl1->setCommand(QStringLiteral("stop"));
        setSynchronising(false);
        rewindToSelectedTrack();
        return;
    }

    if (sync_.CurrentLine)
        DrawLyricWindow(*Picture1, List2, *sync_.CurrentLine, color(colors_.CurrentLineColor),
                        color(colors_.TextColor));
    else
        Picture1->Cls();
    sync_.follow(List1, Label10->text());
    Timer1->setInterval(nextTickMs(elapsed));
}

// Sets the player to the start of the chosen track (with nothing chosen, as after 更新, of the
// track it holds) and shows the lyrics from their first tag.
void Form1::rewindToSelectedTrack()
{
    MMControl1->setTrack(MMControl1->firstTrack() + Combo1->currentIndex());
    MMControl1->setPlayStart(MMControl1->trackStart());
    tellMediaControls();
    mpris_->positionJumped();
    drawPlainWindow(FindFirstTaggedLine(List1));
}

// The playback state lives in the timer and "開く", always switched in opposite senses.
void Form1::setSynchronising(bool on)
{
    if (!on)
        Timer1->stop();
    else if (!Timer1->isActive())
        Timer1->start();
    Command2->setEnabled(!on);
    tellMediaControls();
}

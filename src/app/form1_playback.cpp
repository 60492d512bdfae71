// The main window's side of playback: the track list, the player's notifications and the tick
// that keeps the elapsed time and the lyrics in step with the music.

#include "colors.h"
#include "form1.h"
#include "lyricwindow.h"
#include "mmcontrol.h"
#include "picturebox.h"
#include "timetag.h"
#include "trackend.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

// Items stay in track order, never sorted; each carries its track's length for the tick.
void Form1::FillTrackList()
{
    Combo1->clear();
    if (MMControl1->trackCount() > 0) {
        for (int track = 1;; ++track) {
            MMControl1->setTrack(track);
            const int length = MMControl1->trackLength();
            Combo1->addItem(TrackItem(track, length), length);
            if (track >= MMControl1->trackCount())
                break;
        }
    }
    // Nothing is chosen until the user chooses.
    Combo1->setCurrentIndex(-1);
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
}

// Sets the player to the start of the chosen track and shows the lyrics from their first tag.
void Form1::rewindToSelectedTrack()
{
    MMControl1->setTrack(Combo1->currentIndex() + 1);
    MMControl1->setPlayStart(MMControl1->trackStart());
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
}

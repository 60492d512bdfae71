#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <span>

// Test-track audio, which the disc tests decode. For track t (1-based) and frame n counted
// from the first frame of that track, each frame is a left then a right int16 little-endian:
//   left  = qRound(8000.0 * sin(2π · (300 + 100·t) · n / 44100.0))
//   right = t · 256 + (n / 44100) % 256    (integer division: the whole second of the track)
// so the tone tells the track and the right channel tells track and second exactly.
void fillTestSector(int track, qint64 sector, char* out);

// A note of the demo tunes: starts on a whole second of its track.
struct Note {
    int second;
    int pitch;  // MIDI note number, 69 = A4 = 440 Hz
    int length; // seconds
};

// Renders the notes as soft sine tones, same on both channels, silence between them.
// The result is `frames` stereo frames of int16 little-endian.
QByteArray renderMelody(std::span<const Note> notes, qint64 frames);

#pragma once

#include "cueimage.h"
#include "ripformat.h"

#include <QList>
#include <QString>

// Writes a rip of audio tracks as rippers leave them: a UTF-8 cue sheet at cuePath with an album
// and track titles, and beside it either "<stem>.flac" (or .wav) for the whole album, tracks
// back to back, or with format.split "01.flac", "02.flac", ... one per track, every track
// after the first opening on a 2-second pregap of silence (INDEX 00) in its own file. The files
// carry the titles as tags. With format.cp932 the sheet is in code page 932 and the files are
// "ソナタ.flac", or "01 ソナタ.flac", … .
// The sheet is written last, so it only ever names complete audio files.
bool writeRipImage(const QString& cuePath, const QList<ImageTrack>& tracks, const RipFormat& format,
                   QString* error);

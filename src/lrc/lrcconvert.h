#pragma once

#include "lrcfile.h"

#include <QList>
#include <QString>

// A line to write, with the line of the LRC file it comes from (for the report).
struct WrittenLine {
    int source = 0;
    QString text;
};

struct LrcConversion {
    QList<WrittenLine> lines;
    QList<LrcReport> moved; // lines moved by more than their rounding, joined or left out
};

// The song as the player reads it: an untagged heading from the title and artist, then each
// timed line once per tag, in time order, each with its own "[mm:ss]" later than the one before,
// so that every one becomes the current line once; an untagged line follows the line it stood
// after. A line on the same time as the one before (a lyric and its translation), or one that
// would have to move more than a second to find a second of its own, is written untimed after
// it, to be shown with it. Lines at 100 minutes or more cannot be shown and are left out.
LrcConversion convertLrc(const LrcSong& song);

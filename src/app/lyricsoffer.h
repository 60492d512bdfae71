#pragma once

#include "disc.h"

#include <QString>

class LyricsMemory;

// What 「開く」 offers: the folder the dialog opens in, and the file already chosen in it.
struct LyricsOffer {
    QString folder;
    QString file;
};

// For the chosen track (0 for none) of the disc: the file opened for it last, or else the one
// its rip keeps beside it, whichever exists first, in its folder; otherwise nothing chosen, in
// the folder of the lyrics opened last.
LyricsOffer offerLyrics(const LyricsMemory& memory, const QString& discId, int track,
                        const TrackSource& source);

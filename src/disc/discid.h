#pragma once

#include "disc.h"

#include <QString>
#include <vector>

// The MusicBrainz disc ID of a table of contents: the same for a disc, its image and a rip that
// keeps the disc's gaps. Trailing data tracks (an Enhanced CD's) are left out, as MusicBrainz
// leaves them out. Empty for a disc without audio.
QString musicBrainzDiscId(const std::vector<Track>& tracks);

#pragma once

#include <QByteArray>

// Disc images that libcdio 2.1.0 cannot be trusted with: its parsers read and write outside their
// buffers on some malformed files. Each check reads the file as libcdio would and says whether
// libcdio may go on; a file that is not of the kind checked is safe as far as the check goes.

// The cue sheet libcdio reads to open a path: the path itself when it ends in "cue" or "CUE", the
// sheet of the same name beside it when it ends in "bin" or "BIN"; none otherwise.
QByteArray cueSheetOf(const QByteArray& path);

// libcdio indexes its table of tracks by the first TRACK line's number without checking it: a
// cue sheet with no track, with more than 99, or whose first track number is above its count of
// tracks makes it read and write outside that table while opening.
bool isCueSheetSafeForLibcdio(const QByteArray& path);

// libcdio takes any file that ends in an NRG footer for an NRG image, whatever its name, and
// walks its chunks without checking them against what it read: a chunk longer than the rest,
// entries that do not fill their chunk, more than 99 tracks or none make it read and write
// outside its buffers. Its CD-TEXT chunk is never safe: text it cannot parse is freed twice.
bool isNrgImageSafeForLibcdio(const QByteArray& path);

#pragma once

#include <QByteArray>

// Disc images that libcdio 2.1.0 cannot be trusted with: its parsers read and write outside their
// buffers on some malformed files. Each check reads the file as libcdio would and says whether
// libcdio may go on; a file that is not of the kind checked is safe as far as the check goes.

// libcdio takes any file that ends in an NRG footer for an NRG image, whatever its name, and
// walks its chunks without checking them against what it read: a chunk longer than the rest,
// entries that do not fill their chunk, more than 99 tracks or none make it read and write
// outside its buffers. Its CD-TEXT chunk is never safe: text it cannot parse is freed twice.
bool isNrgImageSafeForLibcdio(const QByteArray& path);

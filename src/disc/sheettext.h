#pragma once

#include <QByteArrayView>
#include <QString>

// A cue sheet's text as editors save it: after a byte-order mark, UTF-8 or UTF-16 as the mark
// says; without one, UTF-8 where the bytes can be, as rippers write it today, otherwise code
// page 932, as Japanese Windows programs wrote it. File names included, so a sheet's names match
// the files as Linux keeps them, in UTF-8.
QString decodeSheetText(QByteArrayView bytes);

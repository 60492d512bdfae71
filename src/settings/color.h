#pragma once

#include <QColor>
#include <QPalette>
#include <optional>

// A colour as the program stores it: a 32-bit value holding &H00BBGGRR (red in the low byte), or,
// with the top bit set, a system colour named by its index in the low bits (&H8000000F button
// face, &H80000005 window, &H80000008 window text, ...). System colours follow the current
// palette where it has a role for them, else they take their classic default. A colour that was
// never set, or a system index that does not exist, is black.
QColor toQColor(std::optional<qint32> value, const QPalette& palette);

// The 32-bit value of a plain RGB colour.
qint32 toColorValue(const QColor& color);

#pragma once

#include <QString>

struct Colors;

// The colours live in cv.ini in the program folder: three lines, TextColor, CurrentLineColor and
// BackgroundColor, each a signed 32-bit decimal number (a system colour is negative).

// Reads the three colours. A file that is missing, unreadable or ends before the third value
// sets CurrentLineColor to 33023 and BackgroundColor to the button face and leaves TextColor as
// the file had it, if at all. Spaces around a value are ignored, a comma ends a value as a line
// end does, and anything after the third value is ignored. A value that is not a 32-bit decimal
// number takes its colour's default, black for the text.
void LoadSettings(Colors& colors, const QString& programFolder);

// Writes the three colours, replacing the file as a whole: a failed or interrupted save leaves
// the old file. False when it could not be written.
bool SaveSettings(const Colors& colors, const QString& programFolder);

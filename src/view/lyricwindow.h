#pragma once

#include <QColor>

class LineList;
class PictureBox;

// The lyric window: 18 rows, the seven lines before a centre line, the centre line on row 8 and
// the ten lines after it. Rows without a line print blank, so the centre never moves.

// Prints the display text of one line as the next row, or a blank row when there is no such line.
void PrintLyricLine(PictureBox& Picture1, const LineList& List2, int index, const QColor& color);

// Selects the first tagged line of List1 (one that begins with "[") and returns its index; 0
// when no line is tagged, the selection then left on the last line (or at -1 when there is none).
int FindFirstTaggedLine(LineList& List1);

// Clears the view and prints the 18 rows around the centre, the centre row in its own colour;
// nothing when the view shows just those rows already.
void DrawLyricWindow(PictureBox& Picture1, const LineList& List2, int centre,
                     const QColor& centreColor, const QColor& textColor);

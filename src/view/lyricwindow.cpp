#include "lyricwindow.h"

#include "linelist.h"
#include "picturebox.h"
#include "timetag.h"

namespace {

constexpr int kRowsBefore = 7;
constexpr int kRowsAfter = 10;

} // namespace

void PrintLyricLine(PictureBox& Picture1, const LineList& List2, int index, const QColor& color)
{
    Picture1.setForeColor(color);
    Picture1.Print(List2.contains(index) ? List2.at(index).toString() : QStringLiteral(" "));
}

int FindFirstTaggedLine(LineList& List1)
{
    List1.setSelection(-1);
    while (List1.setSelection(List1.selection() + 1)) {
        if (isTaggedLine(List1.at(List1.selection())))
            return List1.selection();
    }
    return 0;
}

void DrawLyricWindow(PictureBox& Picture1, const LineList& List2, int centre,
                     const QColor& centreColor, const QColor& textColor)
{
    Picture1.Cls();
    for (int index = centre - kRowsBefore; index <= centre + kRowsAfter; ++index)
        PrintLyricLine(Picture1, List2, index, index == centre ? centreColor : textColor);
}

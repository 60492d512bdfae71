#include "lyricwindow.h"

#include "linelist.h"
#include "picturebox.h"
#include "timetag.h"

namespace {

constexpr int kRowsBefore = 7;
constexpr int kRowsAfter = 10;

QStringView rowText(const LineList& List2, int index)
{
    return List2.contains(index) ? List2.at(index) : u" ";
}

// Whether the view already shows the window around `centre` in these colours, on its background.
bool showsWindow(const PictureBox& Picture1, const LineList& List2, int centre,
                 const QColor& centreColor, const QColor& textColor)
{
    const QList<PictureBox::Row>& rows = Picture1.rows();
    if (rows.size() != kRowsBefore + 1 + kRowsAfter)
        return false;
    for (int row = 0; row < rows.size(); ++row) {
        const int index = centre - kRowsBefore + row;
        if (rows[row].color != (index == centre ? centreColor : textColor) ||
            rows[row].text != rowText(List2, index))
            return false;
    }
    return true;
}

} // namespace

void PrintLyricLine(PictureBox& Picture1, const LineList& List2, int index, const QColor& color)
{
    Picture1.setForeColor(color);
    Picture1.Print(rowText(List2, index).toString());
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
    // Drawn again, the same rows would put the same picture on the screen.
    if (showsWindow(Picture1, List2, centre, centreColor, textColor))
        return;
    Picture1.Cls();
    for (int index = centre - kRowsBefore; index <= centre + kRowsAfter; ++index)
        PrintLyricLine(Picture1, List2, index, index == centre ? centreColor : textColor);
}

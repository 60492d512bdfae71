#include "lyricsync.h"

#include "linelist.h"
#include "timetag.h"

void LyricSync::follow(LineList& List1, const QString& elapsed)
{
    const int cursor = List1.selection();
    if (!List1.contains(cursor))
        return;
    if (List1.at(cursor).left(kTimeTagLength) == elapsed) {
        LineMatched = 1;
        CurrentLine = cursor;
        return;
    }
    if (LineMatched == 1) {
        if (!List1.setSelection(cursor + 1))
            return;
        LineMatched = 0;
    }
    while (!isTaggedLine(List1.at(List1.selection()))) {
        if (!List1.setSelection(List1.selection() + 1))
            return;
    }
}

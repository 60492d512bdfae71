#pragma once

#include <QList>
#include <QString>
#include <optional>

class LineList;

// The track lyrics are checked against, as the track list shows it.
struct CheckedTrack {
    QString item; // "ﾄﾗｯｸ1 [03:25]"
    int lengthMs = 0;
};

// What the check says about one line, or about a run of lines that stay dark behind one.
struct Finding {
    int firstLine = 0; // counted from 1, as editors count
    int lastLine = 0;
    QString message;
    bool isNote = false; // a remark on a line shown as it is; not a fault
};

// For each line of List1, whether the lyric view highlights it while the track plays, found by
// running the tick's own rules every tenth of a second from the start of the track to its end, or
// without a track up to [99:59].
QList<bool> HighlightedLines(LineList List1, const std::optional<CheckedTrack>& track);

// Every tagged line that is never highlighted, each with the reason it stays dark, and every line
// that only looks tagged. In line order.
QList<Finding> CheckLyrics(const LineList& List1, const std::optional<CheckedTrack>& track);

#pragma once

#include <QList>
#include <QString>
#include <optional>

class LineList;

// The track lyrics are checked against.
struct CheckedTrack {
    int number = 1;
    int lengthMs = 0;
};

// What the check says about one line, or about a run of lines that stay dark behind one.
struct Finding {
    int firstLine = 0; // counted from 1, as editors count
    int lastLine = 0;
    QString message;
    bool isNote = false; // a remark on a line shown as it is; not a fault
};

// Every tagged line that the lyric view never highlights while the track plays, each with the
// reason it stays dark, and every line that only looks tagged. In line order. Which lines are
// highlighted comes from running the tick's own rules every tenth of a second from the start of
// the track to its end, or without a track up to [99:59]; the reasons only explain that run.
QList<Finding> CheckLyrics(const LineList& List1, const std::optional<CheckedTrack>& track);

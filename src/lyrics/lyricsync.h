#pragma once

#include <QString>
#include <optional>

class LineList;

// How the lyrics follow the music, one tick at a time. The cursor, List1's selection, rests on a
// tagged line until the elapsed-time tag equals that line's tag; the line is then current. At the
// first tick whose tag differs, the cursor moves on to the next tagged line. It never moves back,
// and a move past the last line is refused, which leaves the last match current.
struct LyricSync {
    std::optional<int> CurrentLine; // the line highlighted; unset until a line matched
    int LineMatched = 0;            // 1 while the cursor's line is the one that matched

    // A new playback starts with nothing matched.
    void reset()
    {
        CurrentLine.reset();
        LineMatched = 0;
    }
    // Matches the cursor's line against the elapsed time, or moves the cursor on.
    void follow(LineList& List1, const QString& elapsed);
};

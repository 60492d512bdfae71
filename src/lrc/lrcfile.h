#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// Something the conversion changed or could not take as it was, at a line of the LRC file.
struct LrcReport {
    int line = 0;
    QString message;
};

// A time tag at the start of a line.
struct LrcTime {
    qint64 ms = 0;
    QString written; // as the file writes it, for the report: "[01:09.499]"
};

// One line of an LRC file that belongs to the song.
struct LrcLine {
    int number = 0;       // in the file, counted from 1
    QList<LrcTime> times; // none for an untagged line
    QString text;         // without the tags and the word times
};

struct LrcSong {
    QString title;              // [ti:]
    QString artist;             // [ar:]
    int headingLine = 0;        // where the first of them stands
    qint64 offsetMs = 0;        // [offset:]: positive shows the lyrics sooner
    QList<LrcLine> lines;       // the information tags and comments left out
    QList<LrcReport> malformed; // tags taken as text
};

// The lines of an LRC text ended by CR, LF or CR LF. A line starts with its tags, time tags and
// information tags ("[ti:…]", any key of letters; "[#…]" a comment) in any order and number, with
// blanks before and between them; word times ("<mm:ss.xx>", or a time tag once the text has
// begun) are taken out of the text. A tag of digits that is no time stops the tags: it and the
// rest are the line's text, and it is reported.
LrcSong parseLrc(QStringView text);

#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// One line of an LRC file that belongs to the song.
struct LrcLine {
    int number = 0;        // in the file, counted from 1
    QList<qint64> timesMs; // its time tags, as written; none for an untagged line
    QString text;          // without the time tags and the word times
};

struct LrcSong {
    QString title;        // [ti:]
    QString artist;       // [ar:]
    int headingLine = 0;  // where the first of them stands
    qint64 offsetMs = 0;  // [offset:]: positive shows the lyrics sooner
    QList<LrcLine> lines; // the information tags and comments left out
};

// The lines of an LRC text ended by CR, LF or CR LF.
LrcSong parseLrc(QStringView text);

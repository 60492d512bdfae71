#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// A cue sheet as rippers and image writers save it: its files in order, where each track's
// indexes lie in which of them, and the text. Every index is in the file in effect where the
// sheet gives it, so a sheet that appends each gap to the file before ("FILE" between INDEX 00
// and INDEX 01) reads right; libcue 2.2 names the earlier file for the track after such a gap.
struct CueSheet {
    struct File {
        QString name; // as the sheet writes it
        QString type; // WAVE, FLAC, BINARY, … in upper case

        // Raw disc sectors (BINARY little-endian, MOTOROLA big-endian), not an audio file.
        bool isRaw() const;
    };
    struct Index {
        qsizetype file = -1;
        qint64 sector = 0; // in its file, in 1/75 s
    };
    struct Track {
        int number = 0;
        int line = 0;               // where the sheet gives it
        QString mode;               // AUDIO, MODE1/2352, … in upper case
        std::optional<Index> gap;   // INDEX 00
        std::optional<Index> start; // INDEX 01; a data track's INDEX 00 when it has no other
        QString title, performer;

        bool isAudio() const { return mode == QLatin1String("AUDIO"); }
        // What a sector of the track takes in a raw file: 2352 for audio, what the mode names
        // for data (MODE1/2048: 2048); 0 when the mode names no size (MODEx/2xxx).
        int sectorBytes() const;
    };
    QList<File> files;
    QList<Track> tracks;
    QString title, performer;
};

// The sheet's bytes in any of the encodings and line ends editors save. Nothing when the sheet
// makes no sense (no track, numbers out of sequence, an audio track without INDEX 01, tracks out
// of order); then `whyNot` says why and where, in Japanese.
std::optional<CueSheet> readCueSheet(const QByteArray& bytes, QString* whyNot);

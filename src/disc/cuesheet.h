#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// What a ripped album needs of a cue sheet: its files in order, where each track's INDEX 01
// lies in which of them, and the text. A track's file is the one in effect at its INDEX 01, so
// a sheet that appends each gap to the file before ("FILE" between INDEX 00 and INDEX 01) reads
// right; libcue 2.2 names the earlier file for the track after such a gap.
struct CueSheet {
    struct File {
        QString name;    // as the sheet writes it, relative to the sheet's folder
        QByteArray type; // WAVE, FLAC, BINARY, … in upper case
    };
    struct Track {
        int number = 0;
        bool audio = true;
        qsizetype file = -1;     // in `files`
        qint64 startSector = -1; // INDEX 01 in its file, in 1/75 s
        QByteArray title, performer;
    };
    QList<File> files;
    QList<Track> tracks;
    QByteArray title, performer;

    // Every file is raw disc data (BINARY, MOTOROLA), which libcdio reads.
    bool isRawImage() const;
};

// Nothing when the sheet makes no sense (no track, a track without INDEX 01 or out of order);
// then `whyNot` says why, in Japanese.
std::optional<CueSheet> readCueSheet(const QByteArray& text, QString* whyNot);

#pragma once

#include "cueimage.h"
#include "ripformat.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <memory>
#include <sndfile.h>
#include <vector>

// One FLAC or WAV file of a rip, written sector by sector from the disc's audio, and appearing
// complete or not at all.
class SoundFileWriter {
public:
    SoundFileWriter(const QString& path, const RipFormat& format);

    // The file's tags, as a ripper writes them.
    struct Tags {
        QString title, artist, album;
    };
    bool open(const Tags& tags, QString* error);
    bool append(const SectorFill& fill, qint64 sectors, QString* error);
    bool commit(QString* error);

    // The file's extension for a format, without the dot.
    static QString suffix(const RipFormat& format);

private:
    struct Close {
        void operator()(SNDFILE* sound) const { sf_close(sound); }
    };

    bool soundError(QString* error) const;

    RipFormat format_;
    QSaveFile file_;
    // After file_, so that it is closed while file_ still holds the descriptor.
    std::unique_ptr<SNDFILE, Close> sound_;
    QByteArray sector_;
    std::vector<int> samples_;
};

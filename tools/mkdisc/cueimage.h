#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <functional>

// Fills one raw 2352-byte sector; the sector is counted from the start of its track.
using SectorFill = std::function<void(qint64 sector, char* out)>;

struct ImageTrack {
    bool data = false; // MODE1/2352 instead of AUDIO
    qint64 sectors = 0;
    SectorFill fill;
};

// Writes a single-bin image: "<stem>.bin" beside cuePath, tracks back to back, no pregaps.
// Both files appear complete or not at all.
bool writeCueImage(const QString& cuePath, const QList<ImageTrack>& tracks, QString* error);

#pragma once

#include "cueimage.h"

#include <QList>
#include <QString>

// The demo disc: three short tunes with a lyrics file each.
QList<ImageTrack> demoTracks();

// Writes track1.txt, track2.txt, ... into dir, Shift-JIS (CP932) with CR LF line ends.
bool writeDemoLyrics(const QString& dir, QString* error);

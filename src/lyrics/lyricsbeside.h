#pragma once

#include <QString>

// The lyrics file a rip keeps beside a track: the .txt (in any letter case) of the same name as
// the file that holds the track alone ("03 さくら.flac" → "03 さくら.txt"), or else the one .txt
// of the rip's folder whose name begins with the track's number ("03 さくら", "3 ", "track03").
// Empty when there is none, or when several begin with the number.
QString lyricsBeside(const QString& folder, const QString& ownFile, int track);

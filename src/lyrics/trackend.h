#pragma once

#include <QString>
#include <optional>

// A track as the track list writes it: "ﾄﾗｯｸ3 [04:05]", its name and its length.
QString TrackItem(int track, int lengthMs);
// A track's name in the list: "ﾄﾗｯｸ3".
QString TrackName(int track);

// Whether the tick has reached the end of the track: the elapsed time shows the length written
// at the end of the chosen item or, should the tick have missed that whole second, has passed
// the length. The end is thus seen at the start of the length's last whole second, so a lyric
// line tagged with that second never becomes current.
bool TrackEnded(const QString& elapsedTag, const QString& item, int elapsedMs,
                std::optional<int> lengthMs);

#include "trackend.h"

#include "timetag.h"

QString TrackItem(int track, int lengthMs)
{
    return TrackName(track) + u' ' + FormatTimeTag(lengthMs);
}

QString TrackName(int track)
{
    return QStringLiteral("ﾄﾗｯｸ%1").arg(track);
}

bool TrackEnded(const QString& elapsedTag, const QString& item, int elapsedMs,
                std::optional<int> lengthMs)
{
    return elapsedTag == item.right(kTimeTagLength) || (lengthMs && elapsedMs >= *lengthMs);
}

#include "trackend.h"

#include "timetag.h"

QString TrackItem(int track, int lengthMs)
{
    return QStringLiteral("ﾄﾗｯｸ%1 %2").arg(track).arg(FormatTimeTag(lengthMs));
}

bool TrackEnded(const QString& elapsedTag, const QString& item, int elapsedMs,
                std::optional<int> lengthMs)
{
    return elapsedTag == item.right(kTimeTagLength) || (lengthMs && elapsedMs >= *lengthMs);
}

#include "timetag.h"

QString FormatTimeTag(qint32 ms)
{
    const qint32 seconds = ms < 1000 ? 0 : ms / 1000;
    return QStringLiteral("[%1:%2]")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

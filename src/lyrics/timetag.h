#pragma once

#include <QString>
#include <QtGlobal>

// A time as the program writes it everywhere: "[mm:ss]", whole seconds truncated, minutes
// zero-padded to two digits and written in full from 100 on ("[100:00]"). Below one second, and
// for a negative count, "[00:00]". Lyric lines, the track list and the elapsed time meet only by
// the text equality of these tags.
QString FormatTimeTag(qint32 ms);

// Tags below 100 minutes, the ones lyric lines carry, are this long.
inline constexpr int kTimeTagLength = 7;

// A lyric line is tagged when it begins with "[", whatever follows.
inline bool isTaggedLine(QStringView line)
{
    return line.startsWith(u'[');
}

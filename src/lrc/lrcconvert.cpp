#include "lrcconvert.h"

#include "timetag.h"

#include <algorithm>
#include <cmath>

namespace {

// The last second a tag of seven characters can show: [99:59].
constexpr qint64 kLastSecond = 100 * 60 - 1;

// A time as LRC files write it, for the report.
QString lrcTime(qint64 ms)
{
    const QString sign = ms < 0 ? QStringLiteral("-") : QString();
    ms = std::abs(ms);
    return QStringLiteral("[%1%2:%3.%4]")
        .arg(sign)
        .arg(ms / 60000, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000 / 10, 2, 10, QLatin1Char('0'));
}

QString tagOf(qint64 second)
{
    return FormatTimeTag(qint32(second * 1000));
}

// An untagged line must not begin with "[", or the player would take it for a tagged line that
// never lights up; the full-width bracket looks the same.
QString untagged(const QString& text)
{
    return text.startsWith(u'[') ? u'［' + text.sliced(1) : text;
}

struct Timed {
    qint64 ms = 0;      // after the offset
    qint64 tagMs = 0;   // as written
    qsizetype line = 0; // index in LrcSong::lines
};

} // namespace

LrcConversion convertLrc(const LrcSong& song)
{
    LrcConversion result;
    const QString heading = song.title.isEmpty() || song.artist.isEmpty()
                                ? song.title + song.artist
                                : song.title + QStringLiteral(" / ") + song.artist;
    if (!heading.isEmpty())
        result.lines.append({song.headingLine, untagged(heading)});

    // Untagged lines stay after the line they follow: before the first tagged line, at the top.
    QList<Timed> timed;
    qsizetype first = 0;
    for (; first < song.lines.size() && song.lines[first].timesMs.isEmpty(); ++first)
        result.lines.append({song.lines[first].number, untagged(song.lines[first].text)});
    for (qsizetype i = first; i < song.lines.size(); ++i) {
        for (const qint64 ms : song.lines[i].timesMs)
            timed.append({ms - song.offsetMs, ms, i});
    }
    std::stable_sort(timed.begin(), timed.end(),
                     [](const Timed& a, const Timed& b) { return a.ms < b.ms; });

    qint64 previous = -1;
    int previousLine = 0;
    for (const Timed& entry : timed) {
        const LrcLine& line = song.lines[entry.line];
        const qint64 nearest = qint64(std::floor((entry.ms + 500) / 1000.0));
        const qint64 rounded = std::max<qint64>(0, nearest);
        const qint64 second = std::max(rounded, previous + 1);
        const QString time = song.offsetMs == 0 ? lrcTime(entry.tagMs)
                                                : QStringLiteral("%1 (オフセット後 %2)")
                                                      .arg(lrcTime(entry.tagMs), lrcTime(entry.ms));
        const auto report = [&](const QString& message) {
            result.moved.append({line.number, message});
        };
        if (rounded > kLastSecond) {
            report(QStringLiteral("時刻 %1 は秒に丸めると100分以上で、表示できません。"
                                  "この行は書き出しません")
                       .arg(time));
        } else if (second > kLastSecond) {
            report(QStringLiteral("時刻 %1 は前の行 (%2行目) の後で [99:59] までに入らないため、"
                                  "この行は書き出しません")
                       .arg(time)
                       .arg(previousLine));
        } else {
            if (second != rounded)
                report(QStringLiteral("時刻 %1 を %2 に移しました。前の行 (%3行目、%4) と同じ秒か"
                                      "それより前になるためです")
                           .arg(time, tagOf(second))
                           .arg(previousLine)
                           .arg(tagOf(previous)));
            else if (second != nearest)
                report(QStringLiteral("時刻 %1 はオフセットで0秒より前になるため、%2 にしました")
                           .arg(time, tagOf(second)));
            result.lines.append({line.number, tagOf(second) + line.text});
            previous = second;
            previousLine = line.number;
        }
        for (qsizetype i = entry.line + 1; i < song.lines.size() && song.lines[i].timesMs.isEmpty();
             ++i)
            result.lines.append({song.lines[i].number, untagged(song.lines[i].text)});
    }
    return result;
}

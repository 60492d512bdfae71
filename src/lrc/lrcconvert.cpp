#include "lrcconvert.h"

#include "timetag.h"

#include <algorithm>
#include <cmath>

namespace {

// The last second a tag of seven characters can show: [99:59].
constexpr qint64 kLastSecond = 100 * 60 - 1;

// A time after the offset as LRC files write it, for the report: hundredths, or milliseconds
// where it has them.
QString lrcTime(qint64 ms)
{
    const QString sign = ms < 0 ? QStringLiteral("-") : QString();
    ms = std::abs(ms);
    const QString fraction = ms % 10 == 0
                                 ? QStringLiteral("%1").arg(ms % 1000 / 10, 2, 10, QLatin1Char('0'))
                                 : QStringLiteral("%1").arg(ms % 1000, 3, 10, QLatin1Char('0'));
    return QStringLiteral("[%1%2:%3.%4]")
        .arg(sign)
        .arg(ms / 60000, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(fraction);
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
    QString tag;        // as written
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
    for (; first < song.lines.size() && song.lines[first].times.isEmpty(); ++first)
        result.lines.append({song.lines[first].number, untagged(song.lines[first].text)});
    for (qsizetype i = first; i < song.lines.size(); ++i) {
        for (const LrcTime& time : song.lines[i].times)
            timed.append({time.ms - song.offsetMs, time.written, i});
    }
    std::stable_sort(timed.begin(), timed.end(),
                     [](const Timed& a, const Timed& b) { return a.ms < b.ms; });

    qint64 previous = -1; // the second of the line written before, and its time
    qint64 previousMs = -1;
    int previousLine = 0;
    for (const Timed& entry : timed) {
        const LrcLine& line = song.lines[entry.line];
        const qint64 nearest = qint64(std::floor((entry.ms + 500) / 1000.0));
        const qint64 rounded = std::max<qint64>(0, nearest);
        const qint64 second = std::max(rounded, previous + 1);
        const QString time =
            song.offsetMs == 0
                ? entry.tag
                : QStringLiteral("%1 (オフセット後 %2)").arg(entry.tag, lrcTime(entry.ms));
        const auto report = [&](const QString& message) {
            result.moved.append({line.number, message});
        };
        // Beside the line before: on its very time, or with no second of its own within one
        // second of its time (a later one would push every line after it).
        const bool sameTime = entry.ms == previousMs;
        if (previous >= 0 && (sameTime || second * 1000 > entry.ms + 1000 ||
                              (second > kLastSecond && rounded <= kLastSecond))) {
            report(sameTime
                       ? QStringLiteral("時刻 %1 が前の行 (%2行目) と同じため、時刻を付けずに"
                                        "その下に書き出します")
                             .arg(time)
                             .arg(previousLine)
                       : QStringLiteral("時刻 %1 の秒は前の行 (%2行目、%3) と重なり、1秒以内に"
                                        "空いた秒がないため、時刻を付けずにその下に書き出します")
                             .arg(time)
                             .arg(previousLine)
                             .arg(tagOf(previous)));
            result.lines.append({line.number, untagged(line.text)});
        } else if (rounded > kLastSecond) {
            report(QStringLiteral("時刻 %1 は秒に丸めると100分以上で、表示できません。"
                                  "この行は書き出しません")
                       .arg(time));
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
            previousMs = entry.ms;
            previousLine = line.number;
        }
        for (qsizetype i = entry.line + 1; i < song.lines.size() && song.lines[i].times.isEmpty();
             ++i)
            result.lines.append({song.lines[i].number, untagged(song.lines[i].text)});
    }
    return result;
}

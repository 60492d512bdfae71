#include "lyricscheck.h"

#include "linelist.h"
#include "lyricsync.h"
#include "timetag.h"
#include "trackend.h"

#include <QRegularExpression>

namespace {

constexpr int kTickMs = 100;
constexpr int kLastTickWithoutTrack = (100 * 60 - 1) * 1000 + 900; // [99:59]

// The tag a tagged line starts with, as far as its closing bracket.
QString tagOf(QStringView line)
{
    const qsizetype close = line.indexOf(u']');
    return (close > 0 && close < 16 ? line.first(close + 1) : line.left(kTimeTagLength)).toString();
}

// The time of a tag as the player writes it, in seconds; minutes may run past 99.
std::optional<int> tagSeconds(QStringView line)
{
    static const QRegularExpression tag(QStringLiteral("^\\[([0-9]{2,}):([0-5][0-9])\\]"));
    const QRegularExpressionMatch match = tag.match(line);
    if (!match.hasMatch() || (match.capturedLength(1) > 2 && match.capturedView(1).front() == u'0'))
        return std::nullopt;
    return match.capturedView(1).toInt() * 60 + match.capturedView(2).toInt();
}

// A line shown as plain text that a writer may have meant as a tagged one.
bool looksTagged(QStringView line)
{
    const QStringView text = line.trimmed();
    return !isTaggedLine(line) && (text.startsWith(u'[') || text.startsWith(u'［'));
}

struct TaggedLine {
    int index = 0;
    std::optional<int> seconds;
};

// Why a tagged line can never match, judged by its own tag, the tagged line before it and the
// track; empty when nothing of its own keeps it dark.
QString ownReason(QStringView line, const TaggedLine& self, const std::optional<TaggedLine>& before,
                  const std::optional<CheckedTrack>& track)
{
    const QString tag = tagOf(line);
    if (!self.seconds)
        return QStringLiteral("「%1」は時間タグの形ではありません。時間タグは [分:秒] の形で、"
                              "分も秒も2桁で書きます (例: [01:05])")
            .arg(tag);
    if (*self.seconds >= 100 * 60)
        return QStringLiteral("時間タグ %1 は100分以上です。経過時間とは先頭の7文字で比べるため、"
                              "8文字以上のタグとは一致しません")
            .arg(tag);
    if (before && before->seconds && *self.seconds == *before->seconds)
        return QStringLiteral("時間タグ %1 が前のタグ付きの行 (%2行目) と同じです。"
                              "同じ時刻の行は最初の1行しか表示されません")
            .arg(tag)
            .arg(before->index + 1);
    if (before && before->seconds && *self.seconds < *before->seconds)
        return QStringLiteral("時間タグ %1 が前のタグ付きの行 (%2行目、%3) より前です。"
                              "歌詞は前にしか進みません")
            .arg(tag)
            .arg(before->index + 1)
            .arg(FormatTimeTag(*before->seconds * 1000));
    if (track && *self.seconds * 1000 >= track->lengthMs / 1000 * 1000)
        return QStringLiteral("時間タグ %1 がトラックの終わり以降です。トラックは %2 になった"
                              "ところで終わります")
            .arg(tag, FormatTimeTag(track->lengthMs));
    return {};
}

// For each line of List1, whether the lyric view highlights it while the track plays.
QList<bool> HighlightedLines(LineList List1, const std::optional<CheckedTrack>& track)
{
    QList<bool> highlighted(List1.count(), false);
    if (!List1.setSelection(0))
        return highlighted;
    const QString item = track ? TrackItem(track->number, track->lengthMs) : QString();
    LyricSync sync;
    for (int ms = 0; track || ms <= kLastTickWithoutTrack; ms += kTickMs) {
        const QString elapsed = FormatTimeTag(ms);
        if (track && TrackEnded(elapsed, item, ms, track->lengthMs))
            break;
        if (sync.CurrentLine)
            highlighted[*sync.CurrentLine] = true;
        sync.follow(List1, elapsed);
    }
    return highlighted;
}

} // namespace

QList<Finding> CheckLyrics(const LineList& List1, const std::optional<CheckedTrack>& track)
{
    const QList<bool> highlighted = HighlightedLines(List1, track);
    QList<Finding> findings;
    std::optional<TaggedLine> before;
    std::optional<int> holder; // the first dark line, where the cursor stops for good
    qsizetype darkRun = -1;    // the finding that gathers the lines dark behind it
    for (int i = 0; i < List1.count(); ++i) {
        const QStringView line = List1.at(i);
        if (looksTagged(line))
            findings.append({i + 1, i + 1,
                             QStringLiteral("注意: 時間タグのように見えますが、行の先頭が半角の"
                                            "「[」ではないため、そのまま歌詞として表示されます"),
                             true});
        if (!isTaggedLine(line))
            continue;
        const TaggedLine self{i, tagSeconds(line)};
        if (!highlighted[i]) {
            const QString reason = ownReason(line, self, before, track);
            if (!reason.isEmpty()) {
                findings.append({i + 1, i + 1, reason});
                darkRun = -1;
            } else if (darkRun >= 0) {
                findings[darkRun].lastLine = i + 1;
            } else {
                darkRun = findings.size();
                findings.append({i + 1, i + 1,
                                 holder ? QStringLiteral("%1行目で歌詞が止まるため、表示されません")
                                              .arg(*holder + 1)
                                        : QStringLiteral("再生中に一度も表示されません")});
            }
            holder = holder.value_or(i);
        }
        before = self;
    }
    return findings;
}

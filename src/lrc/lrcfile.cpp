#include "lrcfile.h"

#include <QRegularExpression>

namespace {

// "[mm:ss]", "[m:ss]", "[mm:ss.x]" to "[mm:ss.xxx]" and "[mm:ss:xx]", at the start.
qsizetype readTimeTag(QStringView text, qint64& ms)
{
    static const QRegularExpression tag(
        QStringLiteral(R"(^\[(\d{1,5}):([0-5]\d)(?:\.(\d{1,3})|:(\d\d))?\])"));
    const QRegularExpressionMatch match = tag.match(text);
    if (!match.hasMatch())
        return 0;
    QString fraction = match.captured(3) + match.captured(4);
    ms = (match.capturedView(1).toLongLong() * 60 + match.capturedView(2).toLongLong()) * 1000 +
         fraction.leftJustified(3, u'0').toLongLong();
    return match.capturedLength();
}

// An information tag or a comment at the start: its key in lower case ("#" for a comment).
qsizetype readInfoTag(QStringView text, QString& key, QString& value)
{
    static const QRegularExpression tag(
        QStringLiteral(R"(^\[(?:(ti|ar|al|au|by|re|ve|length|offset):([^\]]*)|(#)[^\]]*)\])"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = tag.match(text);
    if (!match.hasMatch())
        return 0;
    key = (match.captured(1) + match.captured(3)).toLower();
    value = match.captured(2).trimmed();
    return match.capturedLength();
}

QString withoutWordTimes(QStringView text)
{
    static const QRegularExpression wordTime(QStringLiteral(R"(<\d+:\d\d(?:[.:]\d{1,3})?>)"));
    return text.toString().remove(wordTime);
}

// Takes the line as information tags if it holds nothing else.
bool readInfoLine(QStringView line, int number, LrcSong& song)
{
    QStringView rest = line;
    QList<std::pair<QString, QString>> tags;
    QString key, value;
    while (const qsizetype length = readInfoTag(rest, key, value)) {
        tags.append({key, value});
        rest = rest.sliced(length).trimmed();
    }
    if (tags.isEmpty() || !rest.isEmpty())
        return false;
    for (const auto& [tagKey, tagValue] : tags) {
        QString* heading = tagKey == u"ti" ? &song.title : tagKey == u"ar" ? &song.artist : nullptr;
        if (heading && heading->isEmpty() && !tagValue.isEmpty()) {
            *heading = tagValue;
            if (song.headingLine == 0)
                song.headingLine = number;
        }
        if (tagKey == u"offset") {
            // toLongLong takes no "+".
            const QString ms = tagValue.startsWith(u'+') ? tagValue.sliced(1) : tagValue;
            // Bounded so that no tag time minus the offset can overflow.
            constexpr qint64 kLimit = qint64(1) << 40;
            song.offsetMs = qBound(-kLimit, ms.toLongLong(), kLimit);
        }
    }
    return true;
}

} // namespace

LrcSong parseLrc(QStringView text)
{
    LrcSong song;
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QList<QStringView> lines = text.split(lineEnd);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (int i = 0; i < lines.size(); ++i) {
        QStringView rest = lines[i];
        if (readInfoLine(rest, i + 1, song))
            continue;
        LrcLine line{i + 1, {}, {}};
        qint64 ms = 0;
        while (const qsizetype length = readTimeTag(rest, ms)) {
            line.timesMs.append(ms);
            rest = rest.sliced(length);
        }
        line.text = withoutWordTimes(rest);
        song.lines.append(line);
    }
    return song;
}

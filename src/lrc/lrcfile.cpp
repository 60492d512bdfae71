#include "lrcfile.h"

#include <QRegularExpression>
#include <optional>

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

// A tag of digits, colons and dots that is no time: "[02:83.375]", "[10.00]", "[1:1:1.1]".
qsizetype readMalformedTimeTag(QStringView text)
{
    static const QRegularExpression tag(QStringLiteral(R"(^\[[\d:.]*\d[\d:.]*\])"));
    const QRegularExpressionMatch match = tag.match(text);
    return match.hasMatch() ? match.capturedLength() : 0;
}

// An information tag or a comment at the start: its key in lower case ("#" for a comment).
qsizetype readInfoTag(QStringView text, QString& key, QString& value)
{
    static const QRegularExpression tag(
        QStringLiteral(R"(^\[(?:([A-Za-z]+):([^\]]*)|(#)[^\]]*)\])"));
    const QRegularExpressionMatch match = tag.match(text);
    if (!match.hasMatch())
        return 0;
    key = (match.captured(1) + match.captured(3)).toLower();
    value = match.captured(2).trimmed();
    return match.capturedLength();
}

// A line that is one information tag whose value holds brackets: "[by:the [LRC] maker]".
bool readBracketedInfoLine(QStringView line, QString& key, QString& value)
{
    static const QRegularExpression tag(QStringLiteral(R"(^\s*\[([A-Za-z]+):(.*)\]\s*$)"));
    const QRegularExpressionMatch match = tag.match(line);
    if (!match.hasMatch() || match.capturedView(2).contains(u"]["))
        return false;
    key = match.captured(1).toLower();
    value = match.captured(2).trimmed();
    return true;
}

// Word times inside the text, in either form.
QString withoutWordTimes(QStringView text)
{
    static const QRegularExpression wordTime(
        QStringLiteral(R"(<\d+:\d\d(?:[.:]\d{1,3})?>|\[\d+:[0-5]\d(?:[.:]\d{1,3})?\])"));
    return text.toString().remove(wordTime);
}

QStringView withoutLeadingBlanks(QStringView text)
{
    while (!text.isEmpty() &&
           (text.front() == u' ' || text.front() == u'\t' || text.front() == u'\u3000'))
        text = text.sliced(1);
    return text;
}

// The title and artist make the heading (the first of each holds), the last offset holds; the
// other keys say nothing the player shows.
void takeInfo(const QString& key, const QString& value, int number, LrcSong& song)
{
    QString* heading = key == u"ti" ? &song.title : key == u"ar" ? &song.artist : nullptr;
    if (heading && heading->isEmpty() && !value.isEmpty()) {
        *heading = value;
        if (song.headingLine == 0)
            song.headingLine = number;
    }
    if (key == u"offset") {
        // toLongLong takes no "+".
        const QString ms = value.startsWith(u'+') ? value.sliced(1) : value;
        // Bounded so that no tag time minus the offset can overflow.
        constexpr qint64 kLimit = qint64(1) << 40;
        song.offsetMs = qBound(-kLimit, ms.toLongLong(), kLimit);
    }
}

// The tags at the start of a line, and its text; nothing for a line of information tags only.
std::optional<LrcLine> readLine(QStringView line, int number, LrcSong& song)
{
    QString key, value;
    if (readBracketedInfoLine(line, key, value)) {
        takeInfo(key, value, number, song);
        return std::nullopt;
    }
    LrcLine read{number, {}, {}};
    bool informed = false;
    QStringView rest = line;
    for (;;) {
        const QStringView tag = withoutLeadingBlanks(rest);
        qint64 ms = 0;
        if (const qsizetype length = readTimeTag(tag, ms)) {
            read.times.append({ms, tag.first(length).toString()});
            rest = tag.sliced(length);
        } else if (const qsizetype length = readInfoTag(tag, key, value)) {
            takeInfo(key, value, number, song);
            informed = true;
            rest = tag.sliced(length);
        } else {
            if (const qsizetype length = readMalformedTimeTag(tag))
                song.malformed.append(
                    {number, QStringLiteral("「%1」は時刻として読めないため、歌詞の文字として"
                                            "書き出します")
                                 .arg(tag.first(length))});
            if (!read.times.isEmpty() || informed || tag.startsWith(u'['))
                rest = tag;
            break;
        }
    }
    if (read.times.isEmpty() && informed && rest.isEmpty())
        return std::nullopt;
    read.text = withoutWordTimes(rest);
    return read;
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
        if (std::optional<LrcLine> line = readLine(lines[i], i + 1, song))
            song.lines.append(*line);
    }
    return song;
}

#include "cuesheet.h"

#include "sheettext.h"

#include <QRegularExpression>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A line's words: a quoted one is one word, without its quotes.
QStringList wordsOf(QStringView line)
{
    QStringList words;
    qsizetype at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == u' ' || line[at] == u'\t'))
            ++at;
        if (at == line.size())
            break;
        if (line[at] == u'"') {
            const qsizetype end = line.indexOf(u'"', at + 1);
            words << line.mid(at + 1, (end < 0 ? line.size() : end) - at - 1).toString();
            at = end < 0 ? line.size() : end + 1;
        } else {
            qsizetype end = at;
            while (end < line.size() && line[end] != u' ' && line[end] != u'\t')
                ++end;
            words << line.mid(at, end - at).toString();
            at = end;
        }
    }
    return words;
}

// "mm:ss:ff" in 1/75 s; -1 when it is not one.
qint64 sectorsOf(const QString& time)
{
    static const QRegularExpression msf(u"^(\\d{1,3}):([0-5]\\d):([0-6]\\d|7[0-4])$"_s);
    const QRegularExpressionMatch match = msf.match(time);
    if (!match.hasMatch())
        return -1;
    return (match.capturedView(1).toLongLong() * 60 + match.capturedView(2).toLongLong()) * 75 +
           match.capturedView(3).toLongLong();
}

std::nullopt_t refuse(QString* whyNot, const QString& reason)
{
    if (whyNot)
        *whyNot = reason;
    return std::nullopt;
}

QString atLine(int line, const QString& reason)
{
    return u"キューシートの %1 行目: %2"_s.arg(line).arg(reason);
}

bool isBefore(const CueSheet::Index& a, const CueSheet::Index& b)
{
    return a.file < b.file || (a.file == b.file && a.sector < b.sector);
}

} // namespace

bool CueSheet::File::isRaw() const
{
    return type == u"BINARY"_s || type == u"MOTOROLA"_s;
}

int CueSheet::Track::sectorBytes() const
{
    if (isAudio())
        return 2352;
    if (mode == u"CDG"_s)
        return 2448;
    bool isNumber = false;
    const int bytes = mode.section(u'/', 1).toInt(&isNumber);
    return isNumber && bytes >= 2048 && bytes <= 2448 ? bytes : 0;
}

std::optional<CueSheet> readCueSheet(const QByteArray& bytes, QString* whyNot)
{
    static const QRegularExpression lineEnd(u"\r\n|\r|\n"_s);
    CueSheet sheet;
    const QString text = decodeSheetText(bytes);
    int lineNumber = 0;
    for (const QStringView line : QStringView(text).split(lineEnd)) {
        ++lineNumber;
        const QStringList words = wordsOf(line);
        if (words.isEmpty())
            continue;
        const QString keyword = words[0].toUpper();
        CueSheet::Track* track = sheet.tracks.isEmpty() ? nullptr : &sheet.tracks.last();
        if (keyword == u"FILE"_s && words.size() >= 2) {
            // A disc's 99 tracks, each in a file of its own, and a gap after the last.
            if (sheet.files.size() == 100)
                return refuse(whyNot, atLine(lineNumber, u"FILE が多すぎます"_s));
            sheet.files.append({words[1], words.value(2).toUpper()});
        } else if (keyword == u"TRACK"_s && words.size() >= 3) {
            bool isNumber = false;
            const int number = words[1].toInt(&isNumber);
            // Numbered from any track on, one by one, as a disc's are.
            if (!isNumber || number < 1 || number > 99 || (track && number != track->number + 1))
                return refuse(
                    whyNot,
                    atLine(lineNumber, u"トラック番号が正しくありません (%1)"_s.arg(words[1])));
            if (sheet.files.isEmpty())
                return refuse(whyNot, atLine(lineNumber, u"TRACK の前に FILE がありません"_s));
            sheet.tracks.append({number, lineNumber, words[2].toUpper(), {}, {}, {}, {}});
        } else if (keyword == u"INDEX"_s && track && words.size() >= 3) {
            const qint64 sector = sectorsOf(words[2]);
            if (sector < 0)
                return refuse(whyNot,
                              atLine(lineNumber, u"時間が正しくありません (%1)"_s.arg(words[2])));
            const CueSheet::Index index{sheet.files.size() - 1, sector};
            const int number = words[1].toInt();
            if (number == 0)
                track->gap = index;
            else if (number == 1)
                track->start = index;
        } else if (keyword == u"TITLE"_s && words.size() >= 2) {
            (track ? track->title : sheet.title) = words[1];
        } else if (keyword == u"PERFORMER"_s && words.size() >= 2) {
            (track ? track->performer : sheet.performer) = words[1];
        }
    }
    if (sheet.tracks.isEmpty())
        return refuse(whyNot, u"キューシートにトラックがありません"_s);
    for (qsizetype i = 0; i < sheet.tracks.size(); ++i) {
        CueSheet::Track& track = sheet.tracks[i];
        // An Enhanced CD's sheet may give its data track only the gap before it.
        if (!track.start && !track.isAudio())
            track.start = track.gap;
        if (!track.start)
            return refuse(whyNot, atLine(track.line, u"トラック %1 に INDEX 01 がありません"_s.arg(
                                                         track.number)));
        if (i > 0 && !isBefore(*sheet.tracks[i - 1].start, *track.start))
            return refuse(
                whyNot, atLine(track.line,
                               u"トラック %1 の位置が前のトラックより前です"_s.arg(track.number)));
    }
    return sheet;
}

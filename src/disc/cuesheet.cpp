#include "cuesheet.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

// A line's words: a quoted one is one word, without its quotes.
QList<QByteArray> wordsOf(const QByteArray& line)
{
    QList<QByteArray> words;
    qsizetype at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
            ++at;
        if (at == line.size())
            break;
        if (line[at] == '"') {
            const qsizetype end = line.indexOf('"', at + 1);
            words << line.mid(at + 1, (end < 0 ? line.size() : end) - at - 1);
            at = end < 0 ? line.size() : end + 1;
        } else {
            qsizetype end = at;
            while (end < line.size() && line[end] != ' ' && line[end] != '\t')
                ++end;
            words << line.mid(at, end - at);
            at = end;
        }
    }
    return words;
}

// "mm:ss:ff" in 1/75 s; -1 when it is not one.
qint64 sectorsOf(const QByteArray& time)
{
    static const QRegularExpression msf(
        QStringLiteral(R"(^(\d{1,3}):([0-5]\d):([0-6]\d|7[0-4])$)"));
    const QRegularExpressionMatch match = msf.match(QString::fromLatin1(time));
    if (!match.hasMatch())
        return -1;
    return (match.capturedView(1).toLongLong() * 60 + match.capturedView(2).toLongLong()) * 75 +
           match.capturedView(3).toLongLong();
}

std::nullopt_t refuse(QString* whyNot, const char* reason)
{
    if (whyNot)
        *whyNot = QString::fromUtf8(reason);
    return std::nullopt;
}

} // namespace

bool CueSheet::isRawImage() const
{
    return std::all_of(files.begin(), files.end(), [](const File& file) {
        return file.type == "BINARY" || file.type == "MOTOROLA";
    });
}

std::optional<CueSheet> readCueSheet(const QByteArray& text, QString* whyNot)
{
    CueSheet sheet;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> words = wordsOf(line.trimmed());
        if (words.isEmpty())
            continue;
        const QByteArray keyword = words[0].toUpper();
        CueSheet::Track* track = sheet.tracks.isEmpty() ? nullptr : &sheet.tracks.last();
        if (keyword == "FILE" && words.size() >= 2) {
            sheet.files.append({QString::fromUtf8(words[1]), words.value(2).toUpper()});
        } else if (keyword == "TRACK" && words.size() >= 3) {
            const int number = words[1].toInt();
            // Numbered from any track on, one by one, as a disc's are.
            if (number < 1 || number > 99 || (track && number != track->number + 1))
                return refuse(whyNot, "キューシートのトラック番号が正しくありません");
            sheet.tracks.append({number, words[2].toUpper() == "AUDIO", -1, -1, {}, {}});
        } else if (keyword == "INDEX" && track && words.size() >= 3 && words[1].toInt() == 1) {
            track->file = sheet.files.size() - 1;
            track->startSector = sectorsOf(words[2]);
        } else if (keyword == "TITLE" && words.size() >= 2) {
            (track ? track->title : sheet.title) = words[1];
        } else if (keyword == "PERFORMER" && words.size() >= 2) {
            (track ? track->performer : sheet.performer) = words[1];
        }
    }
    if (sheet.tracks.isEmpty() || sheet.files.isEmpty())
        return refuse(whyNot, "キューシートにトラックがありません");
    for (qsizetype i = 0; i < sheet.tracks.size(); ++i) {
        const CueSheet::Track& track = sheet.tracks[i];
        if (track.file < 0 || track.startSector < 0)
            return refuse(whyNot, "キューシートのトラックに INDEX 01 がありません");
        const CueSheet::Track* before = i > 0 ? &sheet.tracks[i - 1] : nullptr;
        if (before && (track.file < before->file ||
                       (track.file == before->file && track.startSector <= before->startSector)))
            return refuse(whyNot, "キューシートのトラックの位置が前のトラックより前です");
    }
    return sheet;
}

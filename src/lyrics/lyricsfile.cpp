#include "lyricsfile.h"

#include "cp932.h"
#include "linelist.h"
#include "regularfile.h"
#include "timetag.h"

#include <QFile>
#include <algorithm>
#include <array>

namespace {

using Spans = QList<LineList::Span>;

// Reads and decodes the whole file a piece at a time, so that only the text takes up memory. A
// read that fails part way keeps what came before it; a file that grows while it is read is read
// no further than the largest a lyrics file may be.
QString readCp932(QFile& file)
{
    constexpr qint64 kPieceBytes = 64 * 1024;
    QString text;
    // The text is never longer than the bytes, and the decoder asks for room for twice the piece
    // at hand.
    text.reserve(file.size() + 2 * kPieceBytes);
    Cp932Decoder decoder;
    std::array<char, kPieceBytes> piece;
    for (qint64 read, total = 0;
         total < kLargestLyricsFile && (read = file.read(piece.data(), kPieceBytes)) > 0;
         total += read)
        decoder.decode(QByteArrayView(piece.data(), read), text);
    decoder.finish(text);
    return text;
}

// The lines of a text that ends them with CR, LF or CR LF.
Spans splitLines(QStringView text)
{
    Spans lines;
    const auto isLineEnd = [](QChar c) { return c == u'\r' || c == u'\n'; };
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = std::find_if(text.begin() + start, text.end(), isLineEnd) - text.begin();
        lines.push_back({start, end - start});
        if (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

} // namespace

bool LoadLyrics(const QString& path, LineList& List1, LineList& List2, QString* whyNot)
{
    List2.clear();
    List1.clear();
    QFile file(path);
    QString reason;
    if (!openRegularFile(file, reason)) {
        if (whyNot)
            *whyNot = reason;
        return false;
    }
    QString text = readCp932(file);
    Spans lines = splitLines(text);
    List1.assign(std::move(text), std::move(lines));
    List2.assignWithTagsBlanked(List1);
    return true;
}

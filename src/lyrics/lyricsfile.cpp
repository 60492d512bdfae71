#include "lyricsfile.h"

#include "cp932.h"
#include "linelist.h"
#include "timetag.h"

#include <QFile>
#include <algorithm>

namespace {

using Spans = std::vector<LineList::Span>;

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

// The shown text of each line goes into `shown`, a copy of the text: a tagged line has its first
// seven characters blanked out in place, or, shorter than that, becomes seven spaces at the end.
Spans blankTags(QString& shown, const Spans& lines)
{
    Spans shownLines = lines;
    QChar* const text = shown.data();
    const qsizetype end = shown.size();
    qsizetype shortLines = 0;
    for (LineList::Span& line : shownLines) {
        if (!isTaggedLine(QStringView(text + line.start, line.length)))
            continue;
        if (line.length >= kTimeTagLength)
            std::fill_n(text + line.start, kTimeTagLength, u' ');
        else
            line = {end + kTimeTagLength * shortLines++, kTimeTagLength};
    }
    shown.append(QString(kTimeTagLength * shortLines, u' '));
    return shownLines;
}

} // namespace

bool LoadLyrics(const QString& path, LineList& List1, LineList& List2)
{
    List2.clear();
    List1.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // A read that fails part way keeps what came before it.
    QString text = decodeCp932(file.readAll());
    Spans lines = splitLines(text);
    QString shown = text;
    Spans shownLines = blankTags(shown, lines);
    List1.assign(std::move(text), std::move(lines));
    List2.assign(std::move(shown), std::move(shownLines));
    return true;
}

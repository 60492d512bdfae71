#include "lyricsfile.h"

#include "cp932.h"
#include "linelist.h"
#include "timetag.h"

#include <QFile>

namespace {

void appendLine(const QString& line, LineList& List1, LineList& List2)
{
    List1.append(line);
    if (isTaggedLine(line))
        List2.append(QString(kTimeTagLength, u' ') + line.mid(kTimeTagLength));
    else
        List2.append(line);
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
    const QString text = decodeCp932(file.readAll());

    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        appendLine(text.sliced(start, end - start), List1, List2);
        if (end < text.size() && text[end] == u'\r' && end + 1 < text.size() &&
            text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return true;
}

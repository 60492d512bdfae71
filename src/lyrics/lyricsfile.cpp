#include "lyricsfile.h"

#include "cp932.h"
#include "linelist.h"

#include <QFile>

namespace {

constexpr int kTagLength = 7;

void appendLine(const QString& line, LineList& List1, LineList& List2)
{
    List1.append(line);
    if (line.startsWith(u'['))
        List2.append(QString(kTagLength, u' ') + line.mid(kTagLength));
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

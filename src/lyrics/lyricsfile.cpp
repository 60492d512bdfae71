#include "lyricsfile.h"

#include "cp932.h"
#include "linelist.h"
#include "timetag.h"

#include <QFile>
#include <algorithm>

namespace {

// A tagged line as shown: its first seven characters blanked out, built in one allocation.
QString withTagBlanked(QStringView line)
{
    const QStringView rest = line.size() > kTimeTagLength ? line.sliced(kTimeTagLength) : QStringView();
    QString shown(kTimeTagLength + rest.size(), Qt::Uninitialized);
    std::fill_n(shown.data(), kTimeTagLength, u' ');
    std::copy(rest.begin(), rest.end(), shown.data() + kTimeTagLength);
    return shown;
}

void appendLine(QStringView line, LineList& List1, LineList& List2)
{
    List1.append(line.toString());
    List2.append(isTaggedLine(List1.at(List1.count() - 1)) ? withTagBlanked(line)
                                                           : List1.at(List1.count() - 1));
}

// Where the next line end of one kind is at or after `from`, searching the text once.
class NextLineEnd {
public:
    NextLineEnd(QStringView text, QChar end) : text_(text), end_(end) {}

    qsizetype from(qsizetype from)
    {
        if (next_ < from) {
            next_ = text_.indexOf(end_, from);
            if (next_ < 0)
                next_ = text_.size();
        }
        return next_;
    }

private:
    QStringView text_;
    QChar end_;
    qsizetype next_ = -1;
};

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

    NextLineEnd nextCr(text, u'\r');
    NextLineEnd nextLf(text, u'\n');
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = std::min(nextCr.from(start), nextLf.from(start));
        appendLine(QStringView(text).sliced(start, end - start), List1, List2);
        if (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return true;
}

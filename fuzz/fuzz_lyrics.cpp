// Any bytes as a lyrics file: LoadLyrics opens it, fills both lists alike, line for line, and
// List2 is List1 with the time tag blanked out.

#include "cp932.h"
#include "fuzzsupport.h"
#include "linelist.h"
#include "lyricsfile.h"
#include "timetag.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString file = fuzz::path(QStringLiteral("lyrics.txt"));
    fuzz::writeFile(file, reinterpret_cast<const char*>(data), qsizetype(size));

    LineList List1, List2;
    List1.append(QStringLiteral("left over"));
    fuzz::check(LoadLyrics(file, List1, List2), "a written file opens");
    fuzz::check(List1.count() == List2.count(), "List1 and List2 have as many lines");
    fuzz::check(List1.selection() == -1 && List2.selection() == -1, "nothing is selected");
    fuzz::check(size == 0 || List1.count() > 0, "a file with bytes has a line");
    fuzz::check(List1.count() <= qsizetype(size), "no more lines than bytes");

    // Decoded a piece at a time, as a file is read, and cut anywhere, the bytes give the text
    // of the whole.
    const QByteArrayView bytes(data, qsizetype(size));
    const QString whole = decodeCp932(bytes);
    const qsizetype cut = size == 0 ? 0 : data[0] % qsizetype(size);
    Cp932Decoder decoder;
    QString pieces;
    decoder.decode(bytes.first(cut), pieces);
    decoder.decode(bytes.sliced(cut), pieces);
    decoder.finish(pieces);
    fuzz::check(pieces == whole, "pieces decode as the whole");

    // The lines are the text split at CR LF, CR and LF, a line end at the very end adding none.
    QString text = whole;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    fuzz::check(List1.count() == lines.size(), "one line per line end");
    for (int i = 0; i < List1.count(); ++i)
        fuzz::check(List1.at(i) == lines.at(i), "List1 holds the lines as read");

    const QString blank(kTimeTagLength, u' ');
    for (int i = 0; i < List1.count(); ++i) {
        const QStringView line = List1.at(i);
        const QStringView shown = List2.at(i);
        fuzz::check(!line.contains(u'\r') && !line.contains(u'\n'), "List1 holds no CR or LF");
        fuzz::check(!shown.contains(u'\r') && !shown.contains(u'\n'), "List2 holds no CR or LF");
        if (line.startsWith(u'[')) {
            // The first seven characters become seven spaces; a shorter line becomes them all.
            fuzz::check(shown == blank + line.mid(kTimeTagLength).toString(),
                        "a tagged line is blanked");
            fuzz::check(shown.size() == qMax(line.size(), qsizetype(kTimeTagLength)),
                        "a blanked line is as long as the line, or the tag");
        } else {
            fuzz::check(shown == line, "an untagged line shows as read");
        }
    }
    return 0;
}

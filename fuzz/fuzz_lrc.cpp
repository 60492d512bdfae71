// Any bytes as an LRC file, its encoding guessed: refused with a reason, or converted into code
// page 932 the player reads back whole, free of control characters, every tagged line with a
// "[mm:ss]" tag later than the one before, and no untagged line that looks tagged to the player.

#include "cp932.h"
#include "cp932writer.h"
#include "fuzzsupport.h"
#include "lrcconvert.h"
#include "lrcencoding.h"
#include "lrcfile.h"
#include "timetag.h"

#include <QRegularExpression>
#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const LrcText read = decodeLrc(bytes);
    if (!read.refusal.isEmpty()) {
        fuzz::check(read.text.isEmpty(), "a refused file has no text");
        return 0;
    }
    const LrcConversion conversion = convertLrc(parseLrc(read.text));
    Cp932Writer writer;
    const QByteArray written = writer.write(conversion.lines);
    fuzz::check(writer.replaced().isEmpty() == (writer.replacedCount() == 0),
                "characters written as ? are reported");

    const QString text = decodeCp932(written);
    fuzz::check(!text.contains(QChar::ReplacementCharacter), "the output is code page 932");
    fuzz::check(std::none_of(text.begin(), text.end(),
                             [](QChar c) {
                                 return c.category() == QChar::Other_Control && c != u'\t' &&
                                        c != u'\r' && c != u'\n';
                             }),
                "no control characters but tab and line ends");
    fuzz::check(text.isEmpty() || text.endsWith(QStringLiteral("\r\n")), "lines end in CR LF");
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();
    fuzz::check(lines.size() == conversion.lines.size(), "one line written per line");

    static const QRegularExpression tag(QStringLiteral(R"(^\[\d\d:[0-5]\d\])"));
    QString previous;
    for (const QString& line : lines) {
        fuzz::check(!line.contains(u'\r') && !line.contains(u'\n'), "no line end inside a line");
        if (!isTaggedLine(line))
            continue;
        fuzz::check(tag.match(line).hasMatch(), "a tagged line begins with [mm:ss]");
        const QString current = line.first(kTimeTagLength);
        fuzz::check(current > previous, "tags grow strictly");
        previous = current;
    }
    return 0;
}

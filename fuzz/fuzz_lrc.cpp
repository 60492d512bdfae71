// Any bytes as an LRC file: the converted lyrics are code page 932 the player reads back whole,
// every tagged line with a "[mm:ss]" tag later than the one before, and no untagged line that
// looks tagged to the player.

#include "cp932.h"
#include "cp932writer.h"
#include "fuzzsupport.h"
#include "lrcconvert.h"
#include "lrcfile.h"
#include "timetag.h"

#include <QRegularExpression>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const LrcConversion conversion = convertLrc(parseLrc(decodeLrc(bytes)));
    Cp932Writer writer;
    const QByteArray written = writer.write(conversion.lines);

    const QString text = decodeCp932(written);
    fuzz::check(!text.contains(QChar::ReplacementCharacter), "the output is code page 932");
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

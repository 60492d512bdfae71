// Any 32-bit count of milliseconds: FormatTimeTag writes "[mm:ss]" with at least two digits of
// whole minutes and two of the seconds below 60, "[00:00]" below one second and for a negative
// count, and is seven characters long below 100 minutes.

#include "fuzzsupport.h"
#include "timetag.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

bool allDigits(QStringView text)
{
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return !text.isEmpty();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < sizeof(qint32))
        return 0;
    // Every aligned four bytes is one count, so one input tries several.
    for (std::size_t at = 0; at + sizeof(qint32) <= size; at += sizeof(qint32)) {
        qint32 ms;
        std::memcpy(&ms, data + at, sizeof ms);
        const QString tag = FormatTimeTag(ms);

        fuzz::check(tag.startsWith(u'[') && tag.endsWith(u']'), "the tag is in brackets");
        const qsizetype colon = tag.indexOf(u':');
        fuzz::check(colon >= 3 && tag.size() - colon == 4, "two digits of seconds after a colon");
        const QStringView minutes = QStringView(tag).sliced(1, colon - 1);
        const QStringView seconds = QStringView(tag).sliced(colon + 1, 2);
        fuzz::check(allDigits(minutes) && allDigits(seconds), "minutes and seconds are digits");
        fuzz::check(minutes.size() == 2 || minutes[0] != u'0', "minutes are padded to two only");

        bool ok = false;
        const qint64 m = minutes.toLongLong(&ok);
        fuzz::check(ok, "the minutes are a number");
        const qint64 s = seconds.toLongLong(&ok);
        fuzz::check(ok && s < 60, "the seconds are below 60");
        if (ms < 1000) {
            fuzz::check(tag == QStringLiteral("[00:00]"), "below one second, [00:00]");
        } else {
            const qint64 start = m * 60000 + s * 1000;
            fuzz::check(start <= ms && ms < start + 1000, "the tag truncates to whole seconds");
        }
        if (ms < 100 * 60000)
            fuzz::check(tag.size() == kTimeTagLength, "below 100 minutes, seven characters");
    }
    return 0;
}

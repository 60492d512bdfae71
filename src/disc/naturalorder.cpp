#include "naturalorder.h"

namespace {

qsizetype digitsFrom(const QString& text, qsizetype at)
{
    qsizetype end = at;
    while (end < text.size() && text[end].isDigit())
        ++end;
    return end;
}

// A run of digits against another by the number it writes: fewer digits once leading zeros are
// left out is less, then the digits themselves decide.
int compareNumbers(QStringView a, QStringView b)
{
    while (a.size() > 1 && a.front() == u'0')
        a = a.sliced(1);
    while (b.size() > 1 && b.front() == u'0')
        b = b.sliced(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

} // namespace

bool naturalLess(const QString& a, const QString& b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const qsizetype endA = digitsFrom(a, i), endB = digitsFrom(b, j);
            if (const int order = compareNumbers(QStringView(a).sliced(i, endA - i),
                                                 QStringView(b).sliced(j, endB - j)))
                return order < 0;
            i = endA;
            j = endB;
            continue;
        }
        const char32_t x = a[i].toCaseFolded().unicode(), y = b[j].toCaseFolded().unicode();
        if (x != y)
            return x < y;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return j < b.size(); // the shorter first
    return a < b;            // names alike but for case or zeros: any fixed order
}

#include "cp932.h"

#include <QStringDecoder>
#include <algorithm>

// ICU, which does the decoding behind QStringDecoder, follows IBM's variant in three ways that
// Windows does not: the controls 1A, 1C and 7F come out as U+001C, U+007F and U+001A; a bad byte
// comes out as U+001A; and a double-byte character cut short at the end is dropped without a
// trace. The three controls are never part of a double-byte character, so the bytes between them
// are decoded on their own, where U+001A can only mean a bad byte, and the controls themselves
// are put back as Windows maps them, unchanged.

namespace {

constexpr QChar kReplacement(0xFFFD);

bool isControlIcuSwaps(char byte)
{
    return byte == '\x1A' || byte == '\x1C' || byte == '\x7F';
}

bool isLeadByte(quint8 byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool isTrailByte(quint8 byte)
{
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

// Whether the bytes end in the first half of a double-byte character.
bool endsInLeadByte(QByteArrayView bytes)
{
    qsizetype i = 0;
    while (i < bytes.size()) {
        if (!isLeadByte(quint8(bytes[i]))) {
            ++i;
        } else {
            if (i + 1 == bytes.size())
                return true;
            i += isTrailByte(quint8(bytes[i + 1])) ? 2 : 1;
        }
    }
    return false;
}

void appendDecoded(QString& text, QStringDecoder& decoder, QByteArrayView bytes)
{
    const qsizetype start = text.size();
    text += decoder.decode(bytes);
    std::replace(text.begin() + start, text.end(), QChar(0x1A), kReplacement);
    if (endsInLeadByte(bytes))
        text += kReplacement;
}

} // namespace

QString decodeCp932(QByteArrayView bytes)
{
    QStringDecoder decoder("CP932", QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return QString(bytes.size(), kReplacement);
    QString text;
    text.reserve(bytes.size());
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (isControlIcuSwaps(bytes[i])) {
            appendDecoded(text, decoder, bytes.sliced(start, i - start));
            text += QChar(char16_t(quint8(bytes[i])));
            start = i + 1;
        }
    }
    appendDecoded(text, decoder, bytes.sliced(start));
    return text;
}

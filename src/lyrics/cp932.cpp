#include "cp932.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <utility>

// ICU, which does the decoding behind QStringDecoder, follows IBM's variant in three ways that
// Windows does not: the controls 1A, 1C and 7F come out as U+001C, U+007F and U+001A; a bad byte
// comes out as U+001A; and a double-byte character cut short at the end is dropped without a
// trace. The three controls are never part of a double-byte character, so the bytes between them
// are decoded on their own, where U+001A can only mean a bad byte, and the controls themselves
// are put back as Windows maps them, unchanged.

namespace {

constexpr QChar kReplacement(0xFFFD);

// The bytes ICU decodes differently from Windows; they stand for themselves.
constexpr char kControlsIcuSwaps[] = {'\x1A', '\x1C', '\x7F'};

bool isControlIcuSwaps(char byte)
{
    return std::find(std::begin(kControlsIcuSwaps), std::end(kControlsIcuSwaps), byte) !=
           std::end(kControlsIcuSwaps);
}

bool isLeadByte(quint8 byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Whether the bytes end in the first half of a double-byte character. A byte outside the lead
// range always ends a character, alone or as a second half, and lead-range bytes after it pair
// up (each is a valid second half), so only the length of the final run of them matters.
bool endsInLeadByte(QByteArrayView bytes)
{
    qsizetype run = 0;
    while (run < bytes.size() && isLeadByte(quint8(bytes[bytes.size() - 1 - run])))
        ++run;
    return run % 2 == 1;
}

// Where the next of the swapped controls is at or after `from`; the end when there is none.
// Each control's next place is kept, so the bytes are searched once for each.
class NextControl {
public:
    explicit NextControl(QByteArrayView bytes) : bytes_(bytes) { next_.fill(-1); }

    qsizetype from(qsizetype from)
    {
        qsizetype nearest = bytes_.size();
        for (std::size_t i = 0; i < next_.size(); ++i) {
            if (next_[i] < from) {
                const qsizetype at = bytes_.indexOf(kControlsIcuSwaps[i], from);
                next_[i] = at < 0 ? bytes_.size() : at;
            }
            nearest = std::min(nearest, next_[i]);
        }
        return nearest;
    }

private:
    QByteArrayView bytes_;
    std::array<qsizetype, std::size(kControlsIcuSwaps)> next_;
};

// Decodes bytes free of the swapped controls at `out` and returns the end of what it wrote.
QChar* decodeRun(QStringDecoder& decoder, QByteArrayView bytes, QChar* out)
{
    QChar* const start = out;
    out = decoder.appendToBuffer(out, bytes);
    // ICU marks a bad byte with U+001A; without a bad byte so far there is none to look for.
    if (decoder.hasError())
        std::replace(start, out, QChar(0x1A), kReplacement);
    if (endsInLeadByte(bytes))
        *out++ = kReplacement;
    return out;
}

} // namespace

Cp932Decoder::Cp932Decoder() : decoder_("CP932", QStringConverter::Flag::Stateless) {}

void Cp932Decoder::decode(QByteArrayView piece, QString& text)
{
    if (cutLeadByte_ && !piece.empty()) {
        const char lead = *std::exchange(cutLeadByte_, std::nullopt);
        if (isControlIcuSwaps(piece.front())) {
            decodeRuns(QByteArrayView(&lead, 1), text);
        } else {
            const char pair[] = {lead, piece.front()};
            decodeRuns(QByteArrayView(pair, 2), text);
            piece = piece.sliced(1);
        }
    }
    if (endsInLeadByte(piece)) {
        cutLeadByte_ = piece.back();
        piece.chop(1);
    }
    decodeRuns(piece, text);
}

void Cp932Decoder::finish(QString& text)
{
    if (std::exchange(cutLeadByte_, std::nullopt))
        text += kReplacement;
}

// Decodes bytes that end on a whole character, or in a double-byte character cut short for good.
void Cp932Decoder::decodeRuns(QByteArrayView bytes, QString& text)
{
    const qsizetype start = text.size();
    if (!decoder_.isValid()) {
        text.append(QString(bytes.size(), kReplacement));
        return;
    }
    // Room for what the decoder asks; a byte never makes more than one UTF-16 unit.
    text.resize(start + std::max(bytes.size(), decoder_.requiredSpace(bytes.size())));
    QChar* out = text.data() + start;
    NextControl nextControl(bytes);
    for (qsizetype run = 0;;) {
        const qsizetype control = nextControl.from(run);
        out = decodeRun(decoder_, bytes.sliced(run, control - run), out);
        if (control == bytes.size())
            break;
        *out++ = QChar(char16_t(quint8(bytes[control])));
        run = control + 1;
    }
    text.truncate(out - text.constData());
}

QString decodeCp932(QByteArrayView bytes)
{
    Cp932Decoder decoder;
    QString text;
    decoder.decode(bytes, text);
    decoder.finish(text);
    return text;
}

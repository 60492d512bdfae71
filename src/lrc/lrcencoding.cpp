#include "lrcencoding.h"

#include "cp932.h"
#include "cp932writer.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <unicode/ucsdet.h>

namespace {

// The detector gives a text of a few double-byte characters 10 for every multi-byte encoding
// whose rules its bytes keep; a Japanese line or two in any of them gets 100.
constexpr int kGuessing = 10;
constexpr int kSureConfidence = 50;
// The detector reads no more than the first few kilobytes of its own accord.
constexpr qsizetype kDetectedBytes = 64 * 1024;
// The start of a text, in UTF-16 units, that tells a Chinese or Korean one.
constexpr qsizetype kSampledLength = 8192;
// Bad bytes in UTF-8 fewer than one in this many characters beyond ASCII are taken as strays in
// a UTF-8 file; text in another encoding read as UTF-8 has bad bytes in most of them.
constexpr qsizetype kCharactersPerStrayByte = 8;

constexpr std::array kDetected{"Shift_JIS", "EUC-JP",   "GB18030", "Big5",
                               "EUC-KR",    "UTF-16LE", "UTF-16BE"};

struct CloseDetector {
    void operator()(UCharsetDetector* detector) const { ucsdet_close(detector); }
};

struct Guess {
    QByteArray name; // ICU's
    int confidence = 0;

    bool sure() const
    {
        return confidence >= kSureConfidence &&
               std::find(kDetected.begin(), kDetected.end(), name) != kDetected.end();
    }
};

// The detector's best guess; none when ICU fails.
Guess detect(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {};
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UCharsetDetector, CloseDetector> detector(ucsdet_open(&status));
    const QByteArrayView start = bytes.first(std::min(bytes.size(), kDetectedBytes));
    ucsdet_setText(detector.get(), start.data(), int32_t(start.size()), &status);
    const UCharsetMatch* best = ucsdet_detect(detector.get(), &status);
    if (U_FAILURE(status) || !best)
        return {};
    Guess guess{ucsdet_getName(best, &status), ucsdet_getConfidence(best, &status)};
    return U_SUCCESS(status) ? guess : Guess{};
}

// Nothing when Qt and ICU know no encoding by that name.
std::optional<QString> decodeAs(QByteArrayView bytes, const QByteArray& name)
{
    if (name.isEmpty())
        return std::nullopt; // ICU would open its default
    if (name == "Shift_JIS")
        return decodeCp932(bytes); // as the player reads its own lyrics
    QStringDecoder decoder(name.constData(), QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    // ICU marks a bad byte with U+001A.
    if (decoder.hasError() && !bytes.contains('\x1A'))
        text.replace(QChar(0x1A), QChar::ReplacementCharacter);
    return text;
}

bool isUtf8(const QByteArray& name)
{
    return QStringConverter::encodingForName(name.constData()) == QStringConverter::Utf8;
}

// UTF-8 with at most a few stray bytes of another encoding, each read as U+FFFD.
bool mostlyUtf8(QStringView text)
{
    const qsizetype bad = text.count(QChar::ReplacementCharacter);
    const qsizetype beyondAscii =
        std::count_if(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x80; });
    return (beyondAscii - bad) >= kCharactersPerStrayByte * bad;
}

// Whether code page 932 lacks most of the letters at the start of the text.
bool mostlyUnwritable(QStringView text)
{
    Cp932Writer writer;
    qsizetype letters = 0;
    qsizetype lacking = 0;
    for (const char32_t c : text.first(std::min(text.size(), kSampledLength)).toUcs4()) {
        if (QChar::isLetter(c)) {
            ++letters;
            lacking += c >= 0x80 && !writer.holds(c) ? 1 : 0;
        }
    }
    return 2 * lacking > letters;
}

QString shownName(const QByteArray& name)
{
    return name == "Shift_JIS" ? QStringLiteral("コードページ932 (Shift_JIS)")
                               : QString::fromLatin1(name);
}

// Why a file is not converted, and what to do.
QString refusal(const QString& why)
{
    return why + QStringLiteral("。読む文字コードを --encoding で指定すれば変換します");
}

// The encoding of bytes without a byte-order mark; empty when the detector is unsure.
QByteArray unmarkedEncoding(QByteArrayView bytes, const Guess& guess)
{
    if (guess.sure() && guess.name.startsWith("UTF-16"))
        return guess.name; // its ASCII would be valid UTF-8 too
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError() || mostlyUtf8(text))
        return "UTF-8";
    return guess.sure() ? guess.name : QByteArray();
}

LrcText guessed(QByteArrayView bytes)
{
    const std::optional<QStringConverter::Encoding> mark = QStringConverter::encodingForData(bytes);
    const Guess guess = mark ? Guess{} : detect(bytes);
    const QByteArray name = mark ? QByteArray(QStringConverter::nameForEncoding(*mark))
                                 : unmarkedEncoding(bytes, guess);
    const std::optional<QString> text = decodeAs(bytes, name);
    if (!text) {
        const QString nearest = guess.confidence <= kGuessing
                                    ? QString()
                                    : QStringLiteral(" (一番近いのは %1 で、確からしさ %2/100)")
                                          .arg(shownName(guess.name))
                                          .arg(guess.confidence);
        return {{}, {}, refusal(QStringLiteral("文字コードがわかりません") + nearest)};
    }
    if (mostlyUnwritable(*text))
        return {{},
                {},
                refusal(QStringLiteral("文字コード %1 として読むと、文字の大半がコードページ932で"
                                       "書けません (中国語か韓国語の歌詞ではありませんか)")
                            .arg(shownName(name)))};
    return {*text, isUtf8(name) ? QString() : shownName(name), {}};
}

LrcText named(QByteArrayView bytes, const QString& name)
{
    const std::optional<QString> text = decodeAs(bytes, name.toLatin1());
    if (!text)
        return {{}, {}, QStringLiteral("文字コード「%1」を知りません").arg(name)};
    return {*text, isUtf8(name.toLatin1()) ? QString() : name, {}};
}

} // namespace

LrcText decodeLrc(QByteArrayView bytes, const QString& encoding)
{
    LrcText read = encoding.isEmpty() ? guessed(bytes) : named(bytes, encoding);
    read.text.remove(QChar(0xFEFF));
    return read;
}

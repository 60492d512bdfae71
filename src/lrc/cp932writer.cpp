#include "cp932writer.h"

#include "cp932.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<char16_t, char16_t>, 6> kLookAlikes{{
    {u'\u301C', u'\uFF5E'}, // 〜 ～
    {u'\u2016', u'\u2225'}, // ‖ ∥
    {u'\u2212', u'\uFF0D'}, // − －
    {u'\u00A2', u'\uFFE0'}, // ¢ ￠
    {u'\u00A3', u'\uFFE1'}, // £ ￡
    {u'\u00AC', u'\uFFE2'}, // ¬ ￢
}};

// ICU knows the code page by several names, depending on its version.
QStringEncoder cp932Encoder()
{
    for (const char* name : {"CP932", "windows-31j", "Shift_JIS"}) {
        QStringEncoder encoder(name, QStringConverter::Flag::Stateless);
        if (encoder.isValid())
            return encoder;
    }
    return QStringEncoder();
}

QString hex(char32_t c)
{
    return QStringLiteral("U+") + QString::number(quint32(c), 16).toUpper().rightJustified(4, u'0');
}

// QString::fromUcs4 would take U+FEFF for a byte-order mark and leave it out.
QString single(char32_t c)
{
    return QStringView(QChar::fromUcs4(c)).toString();
}

QString withLookAlikes(QString text)
{
    for (const auto& [unicode, cp932] : kLookAlikes)
        text.replace(QChar(unicode), QChar(cp932));
    return text;
}

// Code page 932 holds some control characters, but they are no lyrics: the player would show them
// as nothing or as boxes. A tab is spacing.
bool isControl(char32_t c)
{
    return c != u'\t' && QChar::category(c) == QChar::Other_Control;
}

// A control character or U+FFFD: never written, even where code page 932 holds it.
bool isNeverWritten(char32_t c)
{
    return isControl(c) || c == QChar::ReplacementCharacter;
}

} // namespace

Cp932Writer::Cp932Writer() : encoder_(cp932Encoder()) {}

std::optional<QByteArray> Cp932Writer::encodeExactly(const QString& text)
{
    encoder_.resetState();
    QByteArray bytes = encoder_.encode(text);
    if (!encoder_.isValid() || encoder_.hasError() || decodeCp932(bytes) != text)
        return std::nullopt;
    return bytes;
}

bool Cp932Writer::holds(char32_t c)
{
    return !isNeverWritten(c) && encodeExactly(withLookAlikes(single(c)));
}

void Cp932Writer::report(int line, const Replaced& replaced)
{
    static const std::array<QString, kReasons> kWhy{
        QStringLiteral("%1 はコードページ932で書けないため「?」にしました"),
        QStringLiteral("制御文字 %1 は歌詞に書けないため「?」にしました"),
        QStringLiteral("読めなかったバイト (%1) を「?」にしました"),
    };
    QStringList sentences;
    for (int reason = 0; reason < kReasons; ++reason) {
        if (!replaced[reason].isEmpty())
            sentences << kWhy[reason].arg(replaced[reason].join(u'、'));
    }
    replaced_.append({line, sentences.join(u'。')});
}

QByteArray Cp932Writer::write(const QList<WrittenLine>& lines)
{
    QByteArray bytes;
    for (const WrittenLine& line : lines) {
        const QString text = withLookAlikes(line.text);
        const bool plain = std::none_of(text.begin(), text.end(),
                                        [](QChar c) { return isNeverWritten(c.unicode()); });
        if (std::optional<QByteArray> whole = plain ? encodeExactly(text) : std::nullopt) {
            bytes += *whole;
        } else {
            // Character by character, to know which ones it cannot hold.
            Replaced replaced;
            qsizetype count = 0;
            for (const char32_t c : text.toUcs4()) {
                const QString character = single(c);
                if (std::optional<QByteArray> one =
                        isNeverWritten(c) ? std::nullopt : encodeExactly(character)) {
                    bytes += *one;
                    continue;
                }
                bytes += '?';
                ++count;
                const Reason reason = isControl(c)                       ? kControl
                                      : c == QChar::ReplacementCharacter ? kUnreadable
                                                                         : kLacking;
                const QString shown = reason == kLacking
                                          ? QStringLiteral("「%1」(%2)").arg(character, hex(c))
                                          : hex(c);
                if (!replaced[reason].contains(shown))
                    replaced[reason] << shown;
            }
            // A line written once for each of its tags is reported once.
            if (count > 0 && !reportedLines_.contains(line.source)) {
                reportedLines_.insert(line.source);
                replacedCount_ += count;
                report(line.source, replaced);
            }
        }
        bytes += "\r\n";
    }
    return bytes;
}

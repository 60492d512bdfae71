#include "cp932writer.h"

#include "cp932.h"

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
    return QString::number(quint32(c), 16).toUpper().rightJustified(4, u'0');
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

QByteArray Cp932Writer::write(const QList<WrittenLine>& lines)
{
    QByteArray bytes;
    for (const WrittenLine& line : lines) {
        QString text = line.text;
        for (const auto& [unicode, cp932] : kLookAlikes)
            text.replace(QChar(unicode), QChar(cp932));
        if (std::optional<QByteArray> whole = encodeExactly(text)) {
            bytes += *whole;
        } else {
            // Character by character, to know which ones it cannot hold.
            for (const char32_t c : text.toUcs4()) {
                const QString character = QString::fromUcs4(&c, 1);
                if (std::optional<QByteArray> one = encodeExactly(character)) {
                    bytes += *one;
                    continue;
                }
                bytes += '?';
                replaced_.append({line.source, QStringLiteral("「%1」(U+%2) はコードページ932で"
                                                              "書けないため「?」にしました")
                                                   .arg(character, hex(c))});
            }
        }
        bytes += "\r\n";
    }
    return bytes;
}

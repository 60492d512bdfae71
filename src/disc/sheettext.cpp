#include "sheettext.h"

#include <QStringDecoder>

QString decodeSheetText(QByteArrayView bytes)
{
    // The decoders skip the mark itself.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QStringDecoder(QStringConverter::Utf8)(bytes);
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringConverter::Utf16LE)(bytes);
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringConverter::Utf16BE)(bytes);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp932("CP932", QStringConverter::Flag::Stateless);
    return cp932.isValid() ? QString(cp932(bytes)) : QString::fromLatin1(bytes);
}

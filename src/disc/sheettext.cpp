#include "sheettext.h"

#include <QStringDecoder>

QString decodeSheetText(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp932("CP932", QStringDecoder::Flag::Stateless);
    return cp932.isValid() ? QString(cp932(bytes)) : QString::fromLatin1(bytes);
}

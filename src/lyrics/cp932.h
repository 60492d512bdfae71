#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <optional>

// Decodes Windows code page 932, Japanese Shift-JIS as Windows writes it (① is 87 40, ～ is
// 81 60). A byte that is not valid there becomes U+FFFD.
QString decodeCp932(QByteArrayView bytes);

// The same for bytes that come in pieces, as a file is read: a double-byte character cut by the
// end of a piece is completed by the next piece; one cut short by the end of the bytes becomes
// U+FFFD when they are finished.
class Cp932Decoder {
public:
    Cp932Decoder();
    // Decodes the next piece onto the end of `text`.
    void decode(QByteArrayView piece, QString& text);
    // The bytes have ended.
    void finish(QString& text);

private:
    void decodeRuns(QByteArrayView bytes, QString& text);

    QStringDecoder decoder_;
    std::optional<char> cutLeadByte_;
};

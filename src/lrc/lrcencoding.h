#pragma once

#include <QByteArrayView>
#include <QString>

// An LRC file's text, and how it was read.
struct LrcText {
    QString text;     // without byte-order marks, even one in the middle of files joined by cat
    QString encoding; // the encoding it was read in, for the report; empty for UTF-8
    QString refusal;  // why it is not to be converted, as the user is told; empty when it is
};

// Reads LRC bytes in `encoding` when one is named. Otherwise: UTF-8 or UTF-16 after a byte-order
// mark; UTF-16 without one where ICU's detector is sure of it; UTF-8 where the bytes are UTF-8
// but for a few bad ones; otherwise what the detector is sure of among code page 932, EUC-JP,
// GB18030, Big5 and EUC-KR. A text the detector is unsure of, and one whose characters beyond
// ASCII code page 932 mostly cannot hold, as a Chinese or Korean one, is refused.
// A bad byte becomes U+FFFD.
LrcText decodeLrc(QByteArrayView bytes, const QString& encoding = {});

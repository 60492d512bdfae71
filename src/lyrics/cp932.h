#pragma once

#include <QByteArrayView>
#include <QString>

// Decodes Windows code page 932, Japanese Shift-JIS as Windows writes it (① is 87 40, ～ is
// 81 60). A byte that is not valid there becomes U+FFFD.
QString decodeCp932(QByteArrayView bytes);

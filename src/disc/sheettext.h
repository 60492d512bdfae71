#pragma once

#include <QByteArrayView>
#include <QString>

// A cue sheet's TITLE or PERFORMER as its bytes stand: UTF-8 where they can be, as rippers
// write them today, otherwise code page 932, as Japanese Windows programs wrote them.
QString decodeSheetText(QByteArrayView bytes);

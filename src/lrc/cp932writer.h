#pragma once

#include "lrcconvert.h"

#include <QByteArray>
#include <QList>
#include <QStringEncoder>

// Writes lines in code page 932 with CR LF ends, as the player reads them. Characters that
// Unicode and code page 932 map differently (〜 and ～, ‖ and ∥, − and －, ¢ £ ¬ and their
// full-width forms) become the code page 932 one that looks the same; any other character it
// cannot hold becomes "?", and is reported.
class Cp932Writer {
public:
    Cp932Writer();

    QByteArray write(const QList<WrittenLine>& lines);
    // The characters written as "?", in line order.
    const QList<LrcReport>& replaced() const { return replaced_; }

private:
    // The bytes of `text`, if they read back as `text` through the player's own decoder.
    std::optional<QByteArray> encodeExactly(const QString& text);

    QStringEncoder encoder_;
    QList<LrcReport> replaced_;
};

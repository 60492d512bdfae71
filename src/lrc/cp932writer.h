#pragma once

#include "lrcconvert.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QStringEncoder>
#include <array>

// Writes lines in code page 932 with CR LF ends, as the player reads them. Characters that
// Unicode and code page 932 map differently (〜 and ～, ‖ and ∥, − and －, ¢ £ ¬ and their
// full-width forms) become the code page 932 one that looks the same. A character it cannot
// hold, a control character other than tab, and U+FFFD (a byte that could not be read) become
// "?", and are reported once for each line of the LRC file.
class Cp932Writer {
public:
    Cp932Writer();

    QByteArray write(const QList<WrittenLine>& lines);
    // Whether `c` is written as itself or its look-alike, not as "?".
    bool holds(char32_t c);
    // The lines with characters written as "?", in line order, and which ones.
    const QList<LrcReport>& replaced() const { return replaced_; }
    // How many characters of those lines were written as "?".
    qsizetype replacedCount() const { return replacedCount_; }

private:
    // Why characters became "?": code page 932 lacks them, they are control characters, or they
    // stand for bytes that could not be read.
    enum Reason { kLacking, kControl, kUnreadable, kReasons };
    using Replaced = std::array<QStringList, kReasons>;

    // The bytes of `text`, if they read back as `text` through the player's own decoder.
    std::optional<QByteArray> encodeExactly(const QString& text);
    void report(int line, const Replaced& replaced);

    QStringEncoder encoder_;
    QList<LrcReport> replaced_;
    QSet<int> reportedLines_;
    qsizetype replacedCount_ = 0;
};

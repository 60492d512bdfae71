#pragma once

#include <QFile>
#include <QString>

// The largest lyrics or LRC file read: far beyond any song's, small enough to read at once.
constexpr qint64 kLargestLyricsFile = qint64(64) << 20;

// Opens `file` for reading only when it is a regular file of at most kLargestLyricsFile bytes.
// A pipe, a device or a folder chosen by mistake is refused without waiting for a writer or
// reading without end; then `whyNot` says why, in Japanese.
bool openRegularFile(QFile& file, QString& whyNot);

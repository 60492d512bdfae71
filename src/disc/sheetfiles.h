#pragma once

#include <QString>

// The file a cue sheet names, looked for beside the sheet as players look for it: the name as
// written; its last part when it is a Windows path ("D:\Music\x.wav", "dir\x.wav"); the one file
// whose name differs from it only in case; and for an audio file, the one file of the same stem
// with another audio extension (a sheet left naming album.wav after the album became
// album.flac). Each step taken is logged. Empty when nothing is found or several files would
// do; then `whyNot` says so, naming them.
QString findSheetFile(const QString& folder, const QString& named, bool isAudio, QString* whyNot);

#pragma once

#include <QString>

class LineList;

// Reads a lyrics file into the two lists the view works on, one entry per line in file order:
// List1 gets every line as read; List2 its display text, where a tagged line (one that begins
// with "[") has its first seven characters, the time tag, blanked out by seven spaces. Lines end
// at CR, CR LF or LF; the text is code page 932. Both lists are emptied first, so a file that
// cannot be opened leaves them empty, and then the result is false and `whyNot` says why. Only a
// regular file is read, and only up to kLargestLyricsFile bytes.
bool LoadLyrics(const QString& path, LineList& List1, LineList& List2, QString* whyNot = nullptr);

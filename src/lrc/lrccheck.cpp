#include "lrccheck.h"

#include "linelist.h"
#include "lyricsfile.h"

QList<Finding> darkLines(const QString& path)
{
    LineList lines, shown;
    LoadLyrics(path, lines, shown);
    QList<Finding> faults = CheckLyrics(lines, std::nullopt);
    faults.removeIf([](const Finding& finding) { return finding.isNote; });
    return faults;
}

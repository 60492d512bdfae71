#include "lyricsbeside.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The dialog matches the extension in any letter case, so this does too.
QStringList lyricsFilesIn(const QString& folder)
{
    static const QRegularExpression extension(QStringLiteral("\\.txt$"),
                                              QRegularExpression::CaseInsensitiveOption);
    return QDir(folder).entryList(QDir::Files | QDir::Readable, QDir::Name).filter(extension);
}

// The one name of `names` that `matches`, or nothing.
template <typename Match> QString onlyOne(const QStringList& names, Match matches)
{
    QString found;
    for (const QString& name : names) {
        if (!matches(name))
            continue;
        if (!found.isEmpty())
            return {};
        found = name;
    }
    return found;
}

// Whether a file name begins with a track's number, with or without leading zeros or "track",
// and no further digit or Latin letter after it.
bool namesTrack(const QString& fileName, int track)
{
    static const QRegularExpression number(
        QStringLiteral("^(?:track)?[ _-]?0*(\\d+)(?![0-9A-Za-z])"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = number.match(fileName);
    return match.hasMatch() && match.captured(1).toInt() == track;
}

} // namespace

QString lyricsBeside(const QString& folder, const QString& ownFile, int track)
{
    if (!ownFile.isEmpty()) {
        const QFileInfo audio(ownFile);
        const QString same = onlyOne(lyricsFilesIn(audio.path()), [&audio](const QString& name) {
            return QFileInfo(name).completeBaseName() == audio.completeBaseName();
        });
        if (!same.isEmpty())
            return audio.dir().filePath(same);
    }
    if (folder.isEmpty())
        return {};
    const QString numbered = onlyOne(
        lyricsFilesIn(folder), [track](const QString& name) { return namesTrack(name, track); });
    return numbered.isEmpty() ? QString() : QDir(folder).filePath(numbered);
}

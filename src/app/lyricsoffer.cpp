#include "lyricsoffer.h"

#include "lyricsbeside.h"
#include "lyricsmemory.h"

#include <QFileInfo>

namespace {

LyricsOffer chosen(const QFileInfo& file)
{
    return {file.absolutePath(), file.absoluteFilePath()};
}

} // namespace

// The rip's folder is looked at only when nothing is remembered for the track.
LyricsOffer offerLyrics(const LyricsMemory& memory, const QString& discId, int track,
                        const TrackSource& source)
{
    const QString remembered =
        track > 0 && !discId.isEmpty() ? memory.fileOf(discId, track) : QString();
    if (!remembered.isEmpty() && QFileInfo(remembered).isFile())
        return chosen(QFileInfo(remembered));
    const QString beside =
        track > 0 ? lyricsBeside(source.folder, source.ownFile, track) : QString();
    if (!beside.isEmpty())
        return chosen(QFileInfo(beside));
    const QString folder = memory.lastFolder();
    return {QFileInfo(folder).isDir() ? folder : QString(), {}};
}

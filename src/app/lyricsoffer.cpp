#include "lyricsoffer.h"

#include "lyricsbeside.h"
#include "lyricsmemory.h"

#include <QFileInfo>

LyricsOffer offerLyrics(const LyricsMemory& memory, const QString& discId, int track,
                        const TrackSource& source)
{
    if (track > 0) {
        for (const QString& file : {discId.isEmpty() ? QString() : memory.fileOf(discId, track),
                                    lyricsBeside(source.folder, source.ownFile, track)}) {
            const QFileInfo found(file);
            if (!file.isEmpty() && found.isFile())
                return {found.absolutePath(), found.absoluteFilePath()};
        }
    }
    const QString folder = memory.lastFolder();
    return {QFileInfo(folder).isDir() ? folder : QString(), {}};
}

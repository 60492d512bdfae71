#include "cueimage.h"

#include "cdtime.h"
#include "cuesheet.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool fail(QString* error, const QSaveFile& file)
{
    *error = fileError(file);
    return false;
}

} // namespace

bool writeCueImage(const QString& cuePath, const QList<ImageTrack>& tracks, QString* error)
{
    const QFileInfo cueInfo(cuePath);
    const QString binName = cueInfo.completeBaseName() + u".bin"_s;
    if (!makeFolder(cueInfo.absolutePath(), error))
        return false;

    QString cue = u"FILE \"%1\" BINARY\n"_s.arg(binName);
    QSaveFile bin(cueInfo.dir().filePath(binName));
    if (!bin.open(QIODevice::WriteOnly))
        return fail(error, bin);

    // A second at a time keeps memory flat for long discs.
    QByteArray chunk(cdtime::kSectorsPerSecond * cdtime::kBytesPerSector, '\0');
    qint64 start = 0;
    for (qsizetype i = 0; i < tracks.size(); ++i) {
        const ImageTrack& track = tracks[i];
        cue += u"  TRACK %1 %2\n    INDEX 01 %3\n"_s.arg(i + 1, 2, 10, QLatin1Char('0'))
                   .arg(track.data ? u"MODE1/2352"_s : u"AUDIO"_s, cueTime(start));
        for (qint64 sector = 0; sector < track.sectors;) {
            const qint64 count =
                std::min<qint64>(cdtime::kSectorsPerSecond, track.sectors - sector);
            for (qint64 k = 0; k < count; ++k)
                track.fill(sector + k, chunk.data() + k * cdtime::kBytesPerSector);
            if (bin.write(chunk.constData(), count * cdtime::kBytesPerSector) !=
                count * cdtime::kBytesPerSector)
                return fail(error, bin);
            sector += count;
        }
        start += track.sectors;
    }

    // The bin goes first so a cue on disk always points at a complete bin.
    if (!bin.commit())
        return fail(error, bin);
    return writeCueSheet(cueInfo.absoluteFilePath(), cue.toLatin1(), error);
}

#include "cueimage.h"

#include "cdtime.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString msf(qint64 sector)
{
    const qint64 frames = sector % cdtime::kSectorsPerSecond;
    const qint64 seconds = sector / cdtime::kSectorsPerSecond;
    return u"%1:%2:%3"_s.arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'))
        .arg(frames, 2, 10, QLatin1Char('0'));
}

bool fail(QString* error, const QSaveFile& file)
{
    *error = u"%1: %2"_s.arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
    return false;
}

} // namespace

bool writeCueImage(const QString& cuePath, const QList<ImageTrack>& tracks, QString* error)
{
    const QFileInfo cueInfo(cuePath);
    const QString binName = cueInfo.completeBaseName() + u".bin"_s;
    if (!QDir().mkpath(cueInfo.absolutePath())) {
        *error =
            u"%1: cannot create folder"_s.arg(QDir::toNativeSeparators(cueInfo.absolutePath()));
        return false;
    }

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
                   .arg(track.data ? u"MODE1/2352"_s : u"AUDIO"_s, msf(start));
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
    QSaveFile cueFile(cueInfo.absoluteFilePath());
    if (!cueFile.open(QIODevice::WriteOnly))
        return fail(error, cueFile);
    const QByteArray text = cue.toLatin1();
    if (cueFile.write(text) != text.size() || !cueFile.commit())
        return fail(error, cueFile);
    return true;
}

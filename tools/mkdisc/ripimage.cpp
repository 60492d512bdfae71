#include "ripimage.h"

#include "cdtime.h"
#include "cuesheet.h"
#include "soundfile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringEncoder>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 pregapSectors = 2 * cdtime::kSectorsPerSecond;

// Text in the sheet, not all ASCII on purpose, so a reader's handling of it can be tested.
QString performer()
{
    return u"Corvanta"_s;
}

QString albumTitle()
{
    return u"Corvanta テスト"_s;
}

QString trackTitle(qsizetype number)
{
    return u"トラック %1"_s.arg(number);
}

void fillSilence(qint64, char* out)
{
    std::memset(out, 0, cdtime::kBytesPerSector);
}

QString trackHeader(qsizetype number)
{
    return u"  TRACK %1 AUDIO\n    TITLE \"%2\"\n    PERFORMER \"%3\"\n"_s
        .arg(number, 2, 10, QLatin1Char('0'))
        .arg(trackTitle(number), performer());
}

QString indexLine(int number, qint64 sector)
{
    return u"    INDEX %1 %2\n"_s.arg(number, 2, 10, QLatin1Char('0')).arg(cueTime(sector));
}

// A Japanese file name, as a code page 932 sheet would name it.
QString japaneseName()
{
    return u"ソナタ"_s;
}

QString fileLine(const QString& name)
{
    return u"FILE \"%1\" WAVE\n"_s.arg(name);
}

bool writeAlbum(const QDir& dir, const QString& stem, const QList<ImageTrack>& tracks,
                const RipFormat& format, QString* cue, QString* error)
{
    const QString name =
        (format.cp932 ? japaneseName() : stem) + u'.' + SoundFileWriter::suffix(format);
    *cue += fileLine(name);
    SoundFileWriter writer(dir.filePath(name), format);
    if (!writer.open({albumTitle(), performer(), albumTitle()}, error))
        return false;
    qint64 start = 0;
    for (qsizetype i = 0; i < tracks.size(); ++i) {
        *cue += trackHeader(i + 1) + indexLine(1, start);
        if (!writer.append(tracks[i].fill, tracks[i].sectors, error))
            return false;
        start += tracks[i].sectors;
    }
    return writer.commit(error);
}

bool writeTrackFiles(const QDir& dir, const QList<ImageTrack>& tracks, const RipFormat& format,
                     QString* cue, QString* error)
{
    for (qsizetype i = 0; i < tracks.size(); ++i) {
        const QString number = u"%1"_s.arg(i + 1, 2, 10, QLatin1Char('0'));
        const QString name = (format.cp932 ? number + u' ' + japaneseName() : number) + u'.' +
                             SoundFileWriter::suffix(format);
        const qint64 pregap = i == 0 ? 0 : pregapSectors;
        *cue += fileLine(name) + trackHeader(i + 1);
        if (pregap > 0)
            *cue += indexLine(0, 0);
        *cue += indexLine(1, pregap);
        SoundFileWriter writer(dir.filePath(name), format);
        if (!writer.open({trackTitle(i + 1), performer(), albumTitle()}, error) ||
            !writer.append(fillSilence, pregap, error) ||
            !writer.append(tracks[i].fill, tracks[i].sectors, error) || !writer.commit(error))
            return false;
    }
    return true;
}

} // namespace

bool writeRipImage(const QString& cuePath, const QList<ImageTrack>& tracks, const RipFormat& format,
                   QString* error)
{
    const QFileInfo cueInfo(cuePath);
    if (!makeFolder(cueInfo.absolutePath(), error))
        return false;

    QString cue = u"TITLE \"%1\"\nPERFORMER \"%2\"\n"_s.arg(albumTitle(), performer());
    const bool written = format.split ? writeTrackFiles(cueInfo.dir(), tracks, format, &cue, error)
                                      : writeAlbum(cueInfo.dir(), cueInfo.completeBaseName(),
                                                   tracks, format, &cue, error);
    const QByteArray sheet = format.cp932 ? QStringEncoder("CP932")(cue) : cue.toUtf8();
    return written && writeCueSheet(cueInfo.absoluteFilePath(), sheet, error);
}

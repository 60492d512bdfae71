#include "disc.h"

#include "cdiodisc.h"
#include "cdtime.h"
#include "cuesheet.h"
#include "rippedalbum.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

Disc::Disc(std::vector<Track> tracks, std::map<int, DiscText> text)
    : tracks_(std::move(tracks)), text_(std::move(text))
{
}

namespace {

// The one cue sheet in a folder, if it holds exactly one.
QString onlyCueSheetIn(const QString& folder)
{
    const QStringList sheets =
        QDir(folder).entryList({QStringLiteral("*.cue"), QStringLiteral("*.CUE")}, QDir::Files);
    return sheets.size() == 1 ? QDir(folder).filePath(sheets.first()) : QString();
}

// A cue sheet over audio files rather than raw disc data; a few kilobytes, so anything much
// larger is not one. Read once: the ripped album opens from what is read here.
std::optional<CueSheet> ripSheetAt(const QString& path)
{
    if (!path.endsWith(QLatin1String(".cue"), Qt::CaseInsensitive) || !QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    std::optional<CueSheet> sheet = readCueSheet(file.read(1 << 20), nullptr);
    return sheet && !sheet->isRawImage() ? sheet : std::nullopt;
}

} // namespace

std::unique_ptr<Disc> Disc::open(const QString& path, QString* whyNot)
{
    if (QFileInfo(path).isDir()) {
        const QString sheet = onlyCueSheetIn(path);
        return sheet.isEmpty() ? RippedAlbum::openFolder(path, whyNot) : open(sheet, whyNot);
    }
    if (const std::optional<CueSheet> sheet = ripSheetAt(path))
        return RippedAlbum::openCueSheet(*sheet, QFileInfo(path).path(), whyNot);
    return CdioDisc::open(path, whyNot);
}

int Track::lengthMs() const
{
    return cdtime::sectorsToMs(sectorCount);
}

const Track* Disc::track(int number) const
{
    const auto found = std::find_if(tracks_.begin(), tracks_.end(),
                                    [number](const Track& t) { return t.number == number; });
    return found == tracks_.end() ? nullptr : &*found;
}

const Track* Disc::trackAt(int sector) const
{
    const auto found = std::find_if(tracks_.begin(), tracks_.end(), [sector](const Track& t) {
        return sector >= t.firstSector && sector < t.endSector();
    });
    return found == tracks_.end() ? nullptr : &*found;
}

const Track* Disc::firstAudioTrack() const
{
    const auto found =
        std::find_if(tracks_.begin(), tracks_.end(), [](const Track& t) { return t.isAudio; });
    return found == tracks_.end() ? nullptr : &*found;
}

int Disc::audioEndSector() const
{
    const auto last = std::find_if(tracks_.rbegin(), tracks_.rend(),
                                   [](const Track& t) { return t.isAudio && t.sectorCount > 0; });
    return last == tracks_.rend() ? 0 : last->endSector();
}

DiscText Disc::text(int track) const
{
    const auto found = text_.find(track);
    return found == text_.end() ? DiscText{} : found->second;
}

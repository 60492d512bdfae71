#include "disc.h"

#include "cdiodisc.h"
#include "cdtime.h"
#include "filedisc.h"
#include "sheetfiles.h"

#include <QDir>
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

bool hasSuffix(const QString& path, QLatin1StringView suffix)
{
    return QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) == 0;
}

} // namespace

std::unique_ptr<Disc> Disc::open(const QString& path, QString* whyNot)
{
    if (QFileInfo(path).isDir()) {
        const QString sheet = onlyCueSheetIn(path);
        return sheet.isEmpty() ? FileDisc::openFolder(path, whyNot) : open(sheet, whyNot);
    }
    if (hasSuffix(path, QLatin1StringView("cue")))
        return FileDisc::openCueSheet(path, whyNot);
    // A raw image named by its data: the sheet of the same name beside it tells its tracks.
    if (hasSuffix(path, QLatin1StringView("bin"))) {
        const QFileInfo bin(path);
        const QString sheet = findSheetFile(
            bin.path(), bin.completeBaseName() + QStringLiteral(".cue"), false, nullptr);
        if (sheet.isEmpty() && whyNot)
            *whyNot = QStringLiteral("同じ名前のキューシートがありません");
        return sheet.isEmpty() ? nullptr : FileDisc::openCueSheet(sheet, whyNot);
    }
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

#include "filedisc.h"

#include "audiofile.h"
#include "cdtime.h"
#include "cuesheet.h"
#include "disclog.h"
#include "naturalorder.h"
#include "rawsectorfile.h"
#include "sheetfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A sheet is a few kilobytes; one much larger is no sheet.
constexpr qint64 kLargestSheet = 1 << 20;

qint64 sectorsFor(qint64 frames)
{
    return (frames + cdtime::kFramesPerSector - 1) / cdtime::kFramesPerSector;
}

std::nullptr_t refuse(QString* whyNot, const QString& reason)
{
    if (whyNot)
        *whyNot = reason;
    return nullptr;
}

// The sheet's bytes; nothing with the reason when it cannot be read as one.
std::optional<QByteArray> sheetBytes(const QString& path, QString& whyNot)
{
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile())
        whyNot = info.exists() ? u"キューシートが普通のファイルではありません"_s
                               : u"キューシートがありません"_s;
    else if (info.size() > kLargestSheet)
        whyNot = u"キューシートが大きすぎます"_s;
    else if (!file.open(QIODevice::ReadOnly))
        whyNot = u"キューシートを開けません (%1)"_s.arg(file.errorString());
    return whyNot.isEmpty() ? std::optional(file.read(kLargestSheet)) : std::nullopt;
}

// The sheet's file number `index`, found beside the sheet and opened as raw sectors or audio.
std::unique_ptr<DiscFile> openSheetFile(const QString& folder, const CueSheet& sheet,
                                        qsizetype index, QString& path, QString& whyNot)
{
    const CueSheet::File& named = sheet.files[index];
    path = findSheetFile(folder, named.name, !named.isRaw(), &whyNot);
    if (path.isEmpty())
        return nullptr;
    if (named.isRaw())
        return RawSectorFile::open(path, sheet, index, whyNot);
    std::unique_ptr<DiscFile> audio = AudioFile::open(path, whyNot);
    if (!audio && whyNot.isEmpty())
        whyNot = u"音声として読めません"_s;
    return audio;
}

} // namespace

FileDisc::FileDisc(std::vector<Part> parts, std::vector<Track> tracks, std::map<int, DiscText> text)
    : Disc(std::move(tracks), std::move(text)), parts_(std::move(parts))
{
}

std::unique_ptr<Disc> FileDisc::openCueSheet(const QString& path, QString* whyNot)
{
    QString why;
    const std::optional<QByteArray> bytes = sheetBytes(path, why);
    const std::optional<CueSheet> sheet = bytes ? readCueSheet(*bytes, &why) : std::nullopt;
    if (!sheet)
        return refuse(whyNot, why);
    const QString folder = QFileInfo(path).path();
    Files files;
    QStringList paths(sheet->files.size());
    for (qsizetype i = 0; i < sheet->files.size(); ++i) {
        std::unique_ptr<DiscFile> file = openSheetFile(folder, *sheet, i, paths[i], why);
        if (!file)
            return refuse(whyNot, u"%1: %2"_s.arg(sheet->files[i].name, why));
        files.push_back(std::move(file));
    }
    std::vector<Placed> placed;
    std::map<int, DiscText> text{{0, {sheet->title, sheet->performer}}};
    for (const CueSheet::Track& track : sheet->tracks) {
        // A track the file does not reach is listed empty rather than refused, so the rest of
        // the disc still plays.
        const qint64 held = sectorsFor(files[std::size_t(track.start->file)]->frames());
        if (track.start->sector >= held && track.isAudio())
            qCInfo(discLog) << "track" << track.number << "lies past the end of"
                            << sheet->files[track.start->file].name;
        placed.push_back({track.number, track.isAudio(), std::size_t(track.start->file),
                          std::min(track.start->sector, held)});
        // The album's performer is every track's that names none, as on a disc's CD-TEXT.
        text[track.number] = {track.title,
                              track.performer.isEmpty() ? sheet->performer : track.performer};
    }
    return make(std::move(files), paths, folder, placed, std::move(text), whyNot);
}

std::unique_ptr<Disc> FileDisc::openFolder(const QString& path, QString* whyNot)
{
    QStringList names = QDir(path).entryList(QDir::Files | QDir::Readable, QDir::NoSort);
    std::sort(names.begin(), names.end(), naturalLess);
    Files files;
    QStringList paths;
    std::vector<Placed> placed;
    std::map<int, DiscText> text;
    for (const QString& name : names) {
        QString why;
        std::unique_ptr<AudioFile> audio = AudioFile::open(QDir(path).filePath(name), why);
        if (!audio && !why.isEmpty())
            return refuse(whyNot, u"%1: %2"_s.arg(name, why));
        if (!audio)
            continue; // a cover, a log, the sheet of another rip
        const int number = int(files.size()) + 1;
        if (number > 99)
            return refuse(whyNot, u"音声ファイルが99を超えています"_s);
        placed.push_back({number, true, files.size(), 0});
        text[number] = {audio->tag(SF_STR_TITLE), audio->tag(SF_STR_ARTIST)};
        if (number == 1)
            text[0] = {audio->tag(SF_STR_ALBUM), {}};
        files.push_back(std::move(audio));
        paths << QDir(path).filePath(name);
    }
    if (files.empty())
        return refuse(whyNot, u"音声ファイルがありません"_s);
    return make(std::move(files), paths, path, placed, std::move(text), whyNot);
}

// The files laid on the time line one after another, each from a sector of its own; each track
// runs to the next one's start, the last to the end of the last file.
std::unique_ptr<Disc> FileDisc::make(Files files, const QStringList& paths, const QString& folder,
                                     const std::vector<Placed>& placed,
                                     std::map<int, DiscText> text, QString* whyNot)
{
    std::vector<Part> parts;
    std::vector<qint64> firstSectors;
    qint64 end = 0;
    for (std::unique_ptr<DiscFile>& file : files) {
        firstSectors.push_back(end);
        end += sectorsFor(file->frames());
        parts.push_back({std::move(file), firstSectors.back() * cdtime::kFramesPerSector});
    }
    if (end > 100 * 60 * cdtime::kSectorsPerSecond)
        return refuse(whyNot, u"100分を超えます"_s);
    std::vector<Track> tracks;
    for (const Placed& track : placed)
        tracks.push_back(
            {track.number, int(firstSectors[track.file] + track.startSector), 0, track.isAudio});
    for (std::size_t i = 0; i < tracks.size(); ++i)
        tracks[i].sectorCount =
            int((i + 1 < tracks.size() ? tracks[i + 1].firstSector : end) - tracks[i].firstSector);
    std::unique_ptr<FileDisc> disc(
        new FileDisc(std::move(parts), std::move(tracks), std::move(text)));
    disc->folder_ = folder;
    for (const Placed& track : placed) {
        const auto sharing =
            std::count_if(placed.begin(), placed.end(),
                          [&track](const Placed& other) { return other.file == track.file; });
        if (sharing == 1)
            disc->ownFiles_[track.number] = paths[qsizetype(track.file)];
    }
    return disc;
}

TrackSource FileDisc::source(int track) const
{
    const auto own = ownFiles_.find(track);
    return {folder_, own == ownFiles_.end() ? QString() : own->second};
}

bool FileDisc::readAudio(int firstSector, int count, std::byte* out)
{
    std::fill_n(out, std::size_t(count) * cdtime::kBytesPerSector, std::byte{0});
    const qint64 from = qint64(firstSector) * cdtime::kFramesPerSector;
    const qint64 to = from + qint64(count) * cdtime::kFramesPerSector;
    const std::lock_guard lock(readLock_);
    for (Part& part : parts_) {
        const qint64 start = std::max(from, part.firstFrame);
        const qint64 end = std::min(to, part.firstFrame + part.file->frames());
        if (start < end && !part.file->read(start - part.firstFrame, end - start,
                                            out + (start - from) * cdtime::kBytesPerFrame))
            return false;
    }
    return true;
}

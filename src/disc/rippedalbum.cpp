#include "rippedalbum.h"

#include "cdtime.h"
#include "sheettext.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace {

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

QString tagOf(SNDFILE* file, int tag)
{
    return QString::fromUtf8(sf_get_string(file, tag));
}

} // namespace

struct RippedAlbum::Probed {
    SoundFile file;
    SF_INFO info{};
};

RippedAlbum::RippedAlbum(std::vector<Part> parts, std::vector<Track> tracks,
                         std::map<int, DiscText> text)
    : Disc(std::move(tracks), std::move(text)), parts_(std::move(parts))
{
}

std::unique_ptr<Disc> RippedAlbum::openCueSheet(const CueSheet& sheet, const QString& folder,
                                                QString* whyNot)
{
    std::vector<Probed> files;
    for (const CueSheet::File& named : sheet.files) {
        QString why;
        std::optional<Probed> probed = probe(QDir(folder).filePath(named.name), why);
        if (!probed)
            return refuse(
                whyNot,
                QStringLiteral("%1: %2").arg(
                    named.name, why.isEmpty() ? QStringLiteral("音声として読めません") : why));
        files.push_back(std::move(*probed));
    }
    std::vector<Placed> placed;
    std::map<int, DiscText> text{
        {0, {decodeSheetText(sheet.title), decodeSheetText(sheet.performer)}}};
    for (const CueSheet::Track& track : sheet.tracks) {
        if (!track.audio)
            return refuse(whyNot, QStringLiteral("音声でないトラックがあります"));
        if (track.startSector >= sectorsFor(files[std::size_t(track.file)].info.frames))
            return refuse(whyNot,
                          QStringLiteral("トラック %1 の位置がファイルの外です").arg(track.number));
        placed.push_back({track.number, std::size_t(track.file), track.startSector});
        text[track.number] = {decodeSheetText(track.title), decodeSheetText(track.performer)};
    }
    return make(std::move(files), placed, std::move(text), whyNot);
}

std::unique_ptr<Disc> RippedAlbum::openFolder(const QString& path, QString* whyNot)
{
    QStringList names = QDir(path).entryList(QDir::Files | QDir::Readable, QDir::NoSort);
    QCollator natural;
    natural.setNumericMode(true);
    std::sort(names.begin(), names.end(), natural);
    std::vector<Probed> files;
    std::vector<Placed> placed;
    std::map<int, DiscText> text;
    for (const QString& name : names) {
        QString why;
        std::optional<Probed> probed = probe(QDir(path).filePath(name), why);
        if (!probed && !why.isEmpty())
            return refuse(whyNot, QStringLiteral("%1: %2").arg(name, why));
        if (!probed)
            continue; // a cover, a log, the sheet of another rip
        const int number = int(files.size()) + 1;
        if (number > 99)
            return refuse(whyNot, QStringLiteral("音声ファイルが99を超えています"));
        placed.push_back({number, files.size(), 0});
        text[number] = {tagOf(probed->file.get(), SF_STR_TITLE),
                        tagOf(probed->file.get(), SF_STR_ARTIST)};
        if (number == 1)
            text[0] = {tagOf(probed->file.get(), SF_STR_ALBUM), {}};
        files.push_back(std::move(*probed));
    }
    if (files.empty())
        return refuse(whyNot, QStringLiteral("音声ファイルがありません"));
    return make(std::move(files), placed, std::move(text), whyNot);
}

// The files laid on the time line one after another, each from a sector of its own; each track
// runs to the next one's start, the last to the end of the last file.
std::unique_ptr<Disc> RippedAlbum::make(std::vector<Probed> files,
                                        const std::vector<Placed>& placed,
                                        std::map<int, DiscText> text, QString* whyNot)
{
    std::vector<Part> parts;
    std::vector<qint64> firstSectors;
    qint64 end = 0;
    for (Probed& probed : files) {
        firstSectors.push_back(end);
        parts.push_back({std::move(probed.file), probed.info.channels,
                         end * cdtime::kFramesPerSector, probed.info.frames});
        end += sectorsFor(probed.info.frames);
    }
    if (end > 100 * 60 * cdtime::kSectorsPerSecond)
        return refuse(whyNot, QStringLiteral("100分を超えます"));
    std::vector<Track> tracks;
    for (const Placed& track : placed)
        tracks.push_back(
            {track.number, int(firstSectors[track.file] + track.startSector), 0, true});
    for (std::size_t i = 0; i < tracks.size(); ++i)
        tracks[i].sectorCount =
            int((i + 1 < tracks.size() ? tracks[i + 1].firstSector : end) - tracks[i].firstSector);
    return std::unique_ptr<Disc>(
        new RippedAlbum(std::move(parts), std::move(tracks), std::move(text)));
}

std::optional<RippedAlbum::Probed> RippedAlbum::probe(const QString& path, QString& whyNot)
{
    whyNot.clear();
    if (!QFileInfo(path).isFile()) {
        whyNot = QFileInfo::exists(path) ? QStringLiteral("普通のファイルではありません")
                                         : QStringLiteral("ありません");
        return std::nullopt;
    }
    Probed probed;
    probed.file.reset(sf_open(QFile::encodeName(path).constData(), SFM_READ, &probed.info));
    if (!probed.file)
        return std::nullopt;
    if (probed.info.samplerate != cdtime::kSampleRate)
        whyNot =
            QStringLiteral("CD の 44.1 kHz ではありません (%1 Hz)").arg(probed.info.samplerate);
    else if (probed.info.channels != 1 && probed.info.channels != 2)
        whyNot = QStringLiteral("ステレオでもモノラルでもありません (%1 チャンネル)")
                     .arg(probed.info.channels);
    else if (probed.info.frames <= 0)
        whyNot = QStringLiteral("音がありません");
    if (!whyNot.isEmpty())
        return std::nullopt;
    return probed;
}

bool RippedAlbum::readAudio(int firstSector, int count, std::byte* out)
{
    std::fill_n(out, std::size_t(count) * cdtime::kBytesPerSector, std::byte{0});
    const qint64 from = qint64(firstSector) * cdtime::kFramesPerSector;
    const qint64 to = from + qint64(count) * cdtime::kFramesPerSector;
    const std::lock_guard lock(readLock_);
    for (Part& part : parts_) {
        const qint64 start = std::max(from, part.firstFrame);
        const qint64 end = std::min(to, part.firstFrame + part.frames);
        if (start < end && !readPart(part, start, end, from, out))
            return false;
    }
    return true;
}

// Frames [from, to) of the time line out of one file, as 16-bit stereo; a file that ends or
// fails before them is a failing disc.
bool RippedAlbum::readPart(Part& part, qint64 from, qint64 to, qint64 firstFrame, std::byte* out)
{
    const qint64 frames = to - from;
    samples_.resize(std::size_t(frames * part.channels));
    if (sf_seek(part.file.get(), from - part.firstFrame, SEEK_SET) < 0 ||
        sf_readf_int(part.file.get(), samples_.data(), frames) != frames)
        return false;
    std::byte* at = out + (from - firstFrame) * cdtime::kBytesPerFrame;
    for (qint64 frame = 0; frame < frames; ++frame) {
        // libsndfile gives every sample at full 32-bit scale: the top 16 bits are a CD's.
        const int* sample = &samples_[std::size_t(frame * part.channels)];
        const qint16 left = qint16(sample[0] >> 16);
        const qint16 right = qint16(sample[part.channels - 1] >> 16);
        const std::uint8_t bytes[4] = {std::uint8_t(left), std::uint8_t(left >> 8),
                                       std::uint8_t(right), std::uint8_t(right >> 8)};
        std::memcpy(at + frame * cdtime::kBytesPerFrame, bytes, 4);
    }
    return true;
}

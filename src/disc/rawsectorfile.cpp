#include "rawsectorfile.h"

#include "cdtime.h"

#include <QFileInfo>
#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

RawSectorFile::RawSectorFile(std::unique_ptr<QFile> file, bool bigEndian,
                             std::vector<Segment> segments, qint64 sectors)
    : DiscFile(sectors * cdtime::kFramesPerSector), file_(std::move(file)), bigEndian_(bigEndian),
      segments_(std::move(segments))
{
}

std::unique_ptr<RawSectorFile> RawSectorFile::open(const QString& path, const CueSheet& sheet,
                                                   qsizetype file, QString& whyNot)
{
    std::vector<Segment> segments;
    for (const CueSheet::Track& track : sheet.tracks) {
        const auto index = track.gap && track.gap->file == file       ? track.gap
                           : track.start && track.start->file == file ? track.start
                                                                      : std::nullopt;
        if (!index)
            continue;
        if (track.sectorBytes() == 0) {
            whyNot = u"トラック %1 のセクタの大きさが分かりません (%2)"_s.arg(track.number)
                         .arg(track.mode);
            return nullptr;
        }
        segments.push_back({index->sector, track.sectorBytes(), 0});
    }
    if (segments.empty())
        segments.push_back({0, cdtime::kBytesPerSector, 0});
    segments.front().firstSector = 0; // what comes before the first index is the first track's

    if (!QFileInfo(path).isFile()) {
        whyNot = QFileInfo::exists(path) ? u"普通のファイルではありません"_s : u"ありません"_s;
        return nullptr;
    }
    auto handle = std::make_unique<QFile>(path);
    if (!handle->open(QIODevice::ReadOnly)) {
        whyNot = u"開けません (%1)"_s.arg(handle->errorString());
        return nullptr;
    }
    // Where each segment begins in the file, and how many sectors the file holds: a last
    // sector cut short counts, its missing bytes silent.
    qint64 bytesLeft = handle->size(), sectors = 0;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        Segment& segment = segments[i];
        segment.firstByte = handle->size() - bytesLeft;
        const qint64 end = i + 1 < segments.size() ? segments[i + 1].firstSector
                                                   : std::numeric_limits<qint64>::max();
        const qint64 held = (bytesLeft + segment.sectorBytes - 1) / segment.sectorBytes;
        if (held <= end - segment.firstSector) {
            sectors = segment.firstSector + held;
            segments.resize(i + 1);
            break;
        }
        bytesLeft -= (end - segment.firstSector) * segment.sectorBytes;
    }
    return std::unique_ptr<RawSectorFile>(new RawSectorFile(
        std::move(handle), sheet.files[file].type == u"MOTOROLA"_s, std::move(segments), sectors));
}

const RawSectorFile::Segment& RawSectorFile::segmentOf(qint64 sector) const
{
    const auto after =
        std::upper_bound(segments_.begin(), segments_.end(), sector,
                         [](qint64 s, const Segment& segment) { return s < segment.firstSector; });
    return *std::prev(after);
}

bool RawSectorFile::read(qint64 first, qint64 count, std::byte* out)
{
    bool readAny = false;
    for (qint64 frame = first; frame < first + count;) {
        const qint64 sector = frame / cdtime::kFramesPerSector;
        const Segment& segment = segmentOf(sector);
        const auto next = std::next(&segment);
        const qint64 runEnd =
            std::min(first + count, next == segments_.data() + segments_.size()
                                        ? std::numeric_limits<qint64>::max()
                                        : next->firstSector * cdtime::kFramesPerSector);
        std::byte* at = out + (frame - first) * cdtime::kBytesPerFrame;
        if (segment.sectorBytes == cdtime::kBytesPerSector) {
            const qint64 wanted = (runEnd - frame) * cdtime::kBytesPerFrame;
            const qint64 got =
                file_->seek(segment.firstByte +
                            (frame - segment.firstSector * cdtime::kFramesPerSector) *
                                cdtime::kBytesPerFrame)
                    ? file_->read(reinterpret_cast<char*>(at), wanted)
                    : -1;
            if (got > 0 && bigEndian_) {
                for (qint64 i = 0; i + 1 < got; i += 2)
                    std::swap(at[i], at[i + 1]);
            }
            readAny = readAny || got > 0;
            if (got < wanted)
                return readAny;
        }
        frame = runEnd;
    }
    return true;
}

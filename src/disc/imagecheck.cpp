#include "imagecheck.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <cdio/cdio.h>
#include <optional>

namespace {

// The sizes of the parts of an NRG image that libcdio reads.
constexpr qsizetype kFooterBytes = 12;
constexpr qsizetype kMostChunkBytes = 4096; // libcdio asserts no more, then reads on regardless
constexpr quint32 kCueEntryBytes = 8, kEtnfEntryBytes = 20, kEtn2EntryBytes = 32;
constexpr quint32 kDaoHeaderBytes = 22, kDaoxEntryBytes = 42, kDaoiEntryBytes = 30;

quint32 be32(const QByteArray& bytes, qsizetype at)
{
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

// The tracks a chunk adds as libcdio reads it, or nothing when libcdio would read past it or an
// assertion of its would fail.
std::optional<int> tracksOfChunk(const QByteArray& id, quint32 length, int tracksBefore)
{
    const auto tracksIf = [](bool sound, quint32 tracks) {
        return sound ? std::optional(int(tracks)) : std::nullopt;
    };
    if (id == "CUEX") // a pair of entries a track, after the lead-in's pair
        return tracksIf(length >= 2 * kCueEntryBytes && length % (2 * kCueEntryBytes) == 0,
                        length / (2 * kCueEntryBytes) - 1);
    if (id == "CUES")
        return tracksIf(length >= kCueEntryBytes && length % kCueEntryBytes == 0,
                        (length / kCueEntryBytes - 1) / 2);
    if (id == "ETNF")
        return tracksIf(length % kEtnfEntryBytes == 0, length / kEtnfEntryBytes);
    if (id == "ETN2")
        return tracksIf(length % kEtn2EntryBytes == 0, length / kEtn2EntryBytes);
    if (id == "DAOX" || id == "DAOI") // an entry for each track found before, and one at least
        return tracksIf(length >= kDaoHeaderBytes +
                                      quint32(std::max(tracksBefore, 1)) *
                                          (id == "DAOX" ? kDaoxEntryBytes : kDaoiEntryBytes),
                        0);
    if (id == "SINF" || id == "MTYP")
        return tracksIf(length == 4, 0);
    if (id == "CDTX") // text libcdio cannot parse is freed twice, and its parser overruns
        return std::nullopt;
    return 0; // skipped
}

} // namespace

bool isNrgImageSafeForLibcdio(const QByteArray& path)
{
    QFile file(QFile::decodeName(path));
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly) || file.size() < kFooterBytes)
        return true; // a drive, or too short for libcdio to find a footer
    const qint64 size = file.size();
    const QByteArray footer =
        file.seek(size - kFooterBytes) ? file.read(kFooterBytes) : QByteArray();
    quint64 start = 0;
    if (footer.size() == kFooterBytes && footer.sliced(4, 4) == "NERO")
        start = be32(footer, 8);
    else if (footer.size() == kFooterBytes && footer.first(4) == "NER5")
        start = qFromBigEndian<quint64>(footer.constData() + 4);
    else
        return true; // not an NRG image: libcdio reads no further
    if (start >= quint64(size) || quint64(size) - start > kMostChunkBytes ||
        !file.seek(qint64(start)))
        return false;
    const QByteArray chunks = file.read(size - qint64(start));
    int tracks = 0;
    for (qsizetype at = 0; at < chunks.size();) {
        if (chunks.size() - at < 8)
            return false;
        const QByteArray id = chunks.sliced(at, 4);
        const quint32 length = be32(chunks, at + 4);
        if (id == "NERO" || id == "NER5") // libcdio refuses the image here
            return true;
        if (id == "END!")
            break;
        const std::optional<int> added = tracksOfChunk(id, length, tracks);
        if (!added || length > quint64(chunks.size() - at - 8) ||
            (tracks += *added) > CDIO_CD_MAX_TRACKS)
            return false;
        at += 8 + qsizetype(length);
    }
    return tracks >= 1; // libcdio ends the last track it found
}

#pragma once

#include "cuesheet.h"
#include "discfile.h"

#include <QFile>
#include <memory>
#include <vector>

// A cue sheet's file of raw disc sectors: BINARY (little-endian samples) or MOTOROLA
// (big-endian). Each track's sectors take what its mode says (2352 bytes for audio, 2048 for
// MODE1/2048, …), from the first index the track has in the file on. Audio sectors read as the
// disc's bytes; data sectors read as silence, since nobody plays them.
class RawSectorFile final : public DiscFile {
public:
    // The sheet's file number `file`, found at `path`; nothing with the reason, in Japanese,
    // when it cannot be read or the sheet leaves the size of its sectors unknown.
    static std::unique_ptr<RawSectorFile> open(const QString& path, const CueSheet& sheet,
                                               qsizetype file, QString& whyNot);

    // A read that meets the file's end keeps what it read, as a drive's image reader does, and
    // fails only when it read nothing.
    bool read(qint64 first, qint64 count, std::byte* out) override;

private:
    // The sectors from `firstSector` up to the next segment's, `sectorBytes` each.
    struct Segment {
        qint64 firstSector = 0;
        int sectorBytes = 0;
        qint64 firstByte = 0;
    };
    RawSectorFile(std::unique_ptr<QFile> file, bool bigEndian, std::vector<Segment> segments,
                  qint64 sectors);
    const Segment& segmentOf(qint64 sector) const;

    std::unique_ptr<QFile> file_;
    bool bigEndian_;
    std::vector<Segment> segments_;
};

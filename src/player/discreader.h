#pragma once

#include "playerdevices.h"

#include <memory>
#include <stop_token>

class Disc;
class RingBuffer;

// Reads the audio of a stretch of the disc into a ring buffer on a thread of its own, so the
// user interface never waits for the drive. Sectors of data tracks become silence. A read error
// is retried sector by sector; a sector that still fails skips a second ahead (as silence, so
// the time line holds). After several seconds in a row without a good sector the disc is taken
// to be gone and reading ends early. The ring is closed when reading ends either way.
//
// Thread contract: requestStop() never waits, and nobody ever waits for the reader: it looks at
// the request between sectors and wakes from a wait for room at once, but a read already in
// flight runs to its end on the reader thread first, however long the drive takes. Nothing read
// after the request goes into the ring. The reader holds the disc and the ring until it ends, and
// lets go of them then, so a disc the player has closed is shut as soon as its last read returns.
class DiscReader {
public:
    // Starts reading on a thread of its own.
    static std::shared_ptr<DiscReader> start(std::shared_ptr<Disc> disc, SectorRead read,
                                             int firstSector, int endSector,
                                             std::shared_ptr<RingBuffer> ring);
    DiscReader(const DiscReader&) = delete;
    DiscReader& operator=(const DiscReader&) = delete;

    void requestStop() { stop_.request_stop(); }

private:
    DiscReader(std::shared_ptr<Disc> disc, SectorRead read, int firstSector, int endSector,
               std::shared_ptr<RingBuffer> ring);
    void run(std::stop_token stop);
    bool readRun(std::stop_token stop, int& sector, int runEnd);
    bool read(std::stop_token stop, int sector, int count, std::byte* out);
    bool push(std::stop_token stop, const std::byte* data, std::size_t size);
    bool pushSilence(std::stop_token stop, int sectors);

    std::shared_ptr<Disc> disc_; // let go of as the reader ends
    const SectorRead read_;
    const int firstSector_;
    const int endSector_;
    std::shared_ptr<RingBuffer> ring_; // likewise
    int skipsInARow_ = 0;              // reader thread only
    std::stop_source stop_;
};

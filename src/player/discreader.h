#pragma once

#include "playerdevices.h"

#include <atomic>
#include <memory>
#include <stop_token>
#include <thread>

class Disc;
class RingBuffer;

// Reads the audio of a stretch of the disc into a ring buffer on a thread of its own, so the
// user interface never waits for the drive. Sectors of data tracks become silence. A read error
// is retried sector by sector; a sector that still fails skips a second ahead (as silence, so
// the time line holds). After several seconds in a row without a good sector the disc is taken
// to be gone and reading ends early. The ring is closed when reading ends either way.
//
// Thread contract: constructed, stopped and destroyed on one thread. requestStop() never waits:
// the reader looks at the request between sectors and wakes from a wait for room at once, but a
// read already in flight runs to its end on the reader thread first. Nothing read after the
// request goes into the ring. The reader holds the disc until it ends, and lets go of it then, so a
// disc the player has closed is shut as soon as its last read returns. Destruction waits for it.
class DiscReader {
public:
    DiscReader(std::shared_ptr<Disc> disc, SectorRead read, int firstSector, int endSector,
               RingBuffer& ring);
    ~DiscReader() = default;
    DiscReader(const DiscReader&) = delete;
    DiscReader& operator=(const DiscReader&) = delete;

    void requestStop() { thread_.request_stop(); }
    // The reader thread has ended, so destruction will not wait.
    bool isDone() const { return done_.load(std::memory_order_acquire); }

private:
    void run(std::stop_token stop);
    bool readRun(std::stop_token stop, int& sector, int runEnd);
    bool read(std::stop_token stop, int sector, int count, std::byte* out);
    bool push(std::stop_token stop, const std::byte* data, std::size_t size);
    bool pushSilence(std::stop_token stop, int sectors);

    std::shared_ptr<Disc> disc_; // let go of as the reader ends
    const SectorRead read_;
    const int firstSector_;
    const int endSector_;
    RingBuffer& ring_;
    int skipsInARow_ = 0; // reader thread only
    std::atomic<bool> done_{false};
    std::jthread thread_; // last: starts once everything above is set
};

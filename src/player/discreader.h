#pragma once

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
// Thread contract: constructed and destroyed on one thread; only the reader thread touches the
// disc while it runs. Destruction stops the reader and waits for it.
class DiscReader {
public:
    DiscReader(Disc& disc, int firstSector, int endSector, RingBuffer& ring);
    ~DiscReader() = default;
    DiscReader(const DiscReader&) = delete;
    DiscReader& operator=(const DiscReader&) = delete;

private:
    void run(std::stop_token stop);
    bool readRun(std::stop_token stop, int& sector, int runEnd);
    bool push(std::stop_token stop, const std::byte* data, std::size_t size);
    bool pushSilence(std::stop_token stop, int sectors);

    Disc& disc_;
    const int firstSector_;
    const int endSector_;
    RingBuffer& ring_;
    int skipsInARow_ = 0; // reader thread only
    std::jthread thread_; // last: starts once everything above is set
};

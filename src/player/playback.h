#pragma once

#include "discreader.h"
#include "playerdevices.h"
#include "ringbuffer.h"

#include <cstdint>
#include <memory>

class Disc;

// One run of playback, from a sector to the end of a stretch of the disc: a reader thread fills a
// ring that the sink drains. It starts when made.
//
// stop() silences it at once and asks the reader to end without waiting for it; the reader may
// still be inside a read of the disc, which it holds until the read returns. Destruction waits
// for the reader, so a stopped playback is kept until isDone().
class Playback {
public:
    Playback(std::shared_ptr<Disc> disc, int firstSector, int endSector,
             const PlayerDevices& devices);

    // Frames played since the first sector.
    std::int64_t framesPlayed() const;
    // All that will ever be read has been played: the end was reached or the disc is gone. With
    // no sound output to be had, nothing plays and playback is over at once.
    bool isFinished() const;

    void stop();
    // The reader has ended and let go of the disc, so destruction will not wait.
    bool isDone() const { return reader_.isDone(); }

private:
    // Declaration order is teardown order in reverse: the sink stops draining first, then the
    // reader is waited for, then the ring goes.
    RingBuffer ring_;
    DiscReader reader_;
    std::unique_ptr<AudioSink> sink_;
};

#pragma once

#include "audiosink.h"
#include "discreader.h"
#include "ringbuffer.h"

#include <cstdint>
#include <memory>

class Disc;

// One run of playback, from a sector to the end of a stretch of the disc: a reader thread fills a
// ring that the sink drains. It starts when made and stops when destroyed.
class Playback {
public:
    Playback(Disc& disc, int firstSector, int endSector, const AudioSinkFactory& makeSink);

    // Frames played since the first sector.
    std::int64_t framesPlayed() const;
    // All that will ever be read has been played: the end was reached or the disc is gone. With
    // no sound output to be had, nothing plays and playback is over at once.
    bool isFinished() const;

private:
    // Declaration order is teardown order in reverse: the sink stops draining first, then the
    // reader is joined, then the ring goes.
    RingBuffer ring_;
    DiscReader reader_;
    std::unique_ptr<AudioSink> sink_;
};

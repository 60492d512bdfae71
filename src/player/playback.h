#pragma once

#include "playerdevices.h"

#include <cstdint>
#include <memory>

class Disc;
class DiscReader;
class RingBuffer;

// One run of playback, from a sector to the end of a stretch of the disc: a reader thread fills a
// ring that the sink drains. The reader starts when the playback is made, the sink comes once the
// sound output is open.
//
// Released, it silences the sink and asks the reader to end, waiting for neither: the reader may
// still be inside a read of the disc, which it holds until the read returns.
class Playback {
public:
    Playback(std::shared_ptr<Disc> disc, int firstSector, int endSector, const SectorRead& read);
    ~Playback();
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    const std::shared_ptr<RingBuffer>& ring() const { return ring_; }
    // None: there is no sound output, and nothing plays.
    void setSink(std::shared_ptr<AudioSink> sink);

    // Frames heard since the first sector.
    std::int64_t framesHeard() const;
    // All that will ever be read has been played: the end was reached or the disc is gone. With
    // no sound output to be had, or once it is lost, nothing plays and playback is over.
    bool isFinished() const;

private:
    std::shared_ptr<RingBuffer> ring_;
    std::shared_ptr<DiscReader> reader_;
    std::shared_ptr<AudioSink> sink_;
    bool started_ = false;
};

#include "playback.h"

#include "cdtime.h"
#include "discreader.h"
#include "ringbuffer.h"

namespace {

constexpr std::size_t kRingBytes = std::size_t(cdtime::kSectorsPerSecond) * cdtime::kBytesPerSector;

} // namespace

Playback::Playback(std::shared_ptr<Disc> disc, int firstSector, int endSector,
                   const SectorRead& read)
    : ring_(std::make_shared<RingBuffer>(kRingBytes)),
      reader_(DiscReader::start(std::move(disc), read, firstSector, endSector, ring_))
{
}

// The sink stops draining first, then the reader is told to end.
Playback::~Playback()
{
    sink_.reset();
    reader_->requestStop();
}

void Playback::setSink(std::shared_ptr<AudioSink> sink)
{
    sink_ = std::move(sink);
    started_ = true;
}

std::int64_t Playback::framesHeard() const
{
    return sink_ ? sink_->framesHeard() : 0;
}

bool Playback::isFinished() const
{
    return started_ &&
           (!sink_ || sink_->isLost() ||
            (ring_->isDrained() &&
             sink_->framesHeard() >= std::int64_t(ring_->totalRead() / cdtime::kBytesPerFrame)));
}

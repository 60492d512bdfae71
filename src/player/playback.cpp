#include "playback.h"

#include "cdtime.h"

namespace {

constexpr std::size_t kRingBytes = std::size_t(cdtime::kSectorsPerSecond) * cdtime::kBytesPerSector;

} // namespace

Playback::Playback(Disc& disc, int firstSector, int endSector, const AudioSinkFactory& makeSink)
    : ring_(kRingBytes), reader_(disc, firstSector, endSector, ring_), sink_(makeSink(ring_))
{
}

bool Playback::isFinished() const
{
    return ring_.isDrained() &&
           sink_->framesPlayed() >= std::int64_t(ring_.totalRead() / cdtime::kBytesPerFrame);
}

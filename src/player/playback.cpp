#include "playback.h"

#include "cdtime.h"

namespace {

constexpr std::size_t kRingBytes = std::size_t(cdtime::kSectorsPerSecond) * cdtime::kBytesPerSector;

} // namespace

Playback::Playback(std::shared_ptr<Disc> disc, int firstSector, int endSector,
                   const PlayerDevices& devices)
    : ring_(kRingBytes),
      reader_(std::move(disc), devices.readSectors, firstSector, endSector, ring_),
      sink_(devices.makeSink(ring_))
{
}

std::int64_t Playback::framesPlayed() const
{
    return sink_ ? sink_->framesPlayed() : 0;
}

bool Playback::isFinished() const
{
    return !sink_ ||
           (ring_.isDrained() &&
            sink_->framesPlayed() >= std::int64_t(ring_.totalRead() / cdtime::kBytesPerFrame));
}

void Playback::stop()
{
    sink_.reset();
    reader_.requestStop();
}

#include "discreader.h"

#include "cdtime.h"
#include "disc.h"
#include "ringbuffer.h"

#include <algorithm>
#include <array>
#include <thread>

namespace {

constexpr int kChunkSectors = 15;  // a fifth of a second per read
constexpr int kMaxSkipsInARow = 3; // seconds without one good sector: the disc is gone

} // namespace

DiscReader::DiscReader(std::shared_ptr<Disc> disc, SectorRead read, int firstSector, int endSector,
                       std::shared_ptr<RingBuffer> ring)
    : disc_(std::move(disc)), read_(std::move(read)), firstSector_(firstSector),
      endSector_(endSector), ring_(std::move(ring))
{
}

std::shared_ptr<DiscReader> DiscReader::start(std::shared_ptr<Disc> disc, SectorRead read,
                                              int firstSector, int endSector,
                                              std::shared_ptr<RingBuffer> ring)
{
    std::shared_ptr<DiscReader> reader(
        new DiscReader(std::move(disc), std::move(read), firstSector, endSector, std::move(ring)));
    std::thread([reader] { reader->run(reader->stop_.get_token()); }).detach();
    return reader;
}

void DiscReader::run(std::stop_token stop)
{
    int sector = firstSector_;
    while (sector < endSector_ && !stop.stop_requested()) {
        const Track* track = disc_->trackAt(sector);
        const int runEnd = track ? std::min(endSector_, track->endSector()) : endSector_;
        if (track && track->isAudio) {
            if (!readRun(stop, sector, runEnd))
                break;
        } else {
            if (!pushSilence(stop, runEnd - sector))
                break;
            sector = runEnd;
        }
    }
    ring_->close();
    disc_.reset();
    ring_.reset();
}

// Reads the audio sectors [sector, runEnd); false when reading must end.
bool DiscReader::readRun(std::stop_token stop, int& sector, int runEnd)
{
    std::array<std::byte, kChunkSectors * cdtime::kBytesPerSector> chunk;
    while (sector < runEnd) {
        const int count = std::min(kChunkSectors, runEnd - sector);
        if (read(stop, sector, count, chunk.data())) {
            skipsInARow_ = 0;
            if (!push(stop, chunk.data(), std::size_t(count) * cdtime::kBytesPerSector))
                return false;
            sector += count;
            continue;
        }
        // Find the first bad sector of the chunk, keeping what reads before it.
        int good = 0;
        while (good < count && read(stop, sector + good, 1, chunk.data()) &&
               push(stop, chunk.data(), cdtime::kBytesPerSector))
            ++good;
        if (stop.stop_requested())
            return false;
        if (good > 0)
            skipsInARow_ = 0;
        sector += good;
        if (good == count)
            continue;
        if (++skipsInARow_ > kMaxSkipsInARow)
            return false;
        const int skip = std::min(cdtime::kSectorsPerSecond, runEnd - sector);
        if (!pushSilence(stop, skip))
            return false;
        sector += skip;
    }
    return true;
}

// A read that returns after a stop was asked for counts as failed: what it read is not used.
bool DiscReader::read(std::stop_token stop, int sector, int count, std::byte* out)
{
    return !stop.stop_requested() && read_(*disc_, sector, count, out) && !stop.stop_requested();
}

bool DiscReader::push(std::stop_token stop, const std::byte* data, std::size_t size)
{
    while (size > 0) {
        if (stop.stop_requested())
            return false;
        const std::size_t taken = ring_->write(data, size);
        data += taken;
        size -= taken;
        // Woken once the rest fits, so the reader sleeps through several of the device's reads.
        if (size > 0 && !ring_->waitForSpace(std::min(size, ring_->capacity()), stop))
            return false;
    }
    return true;
}

bool DiscReader::pushSilence(std::stop_token stop, int sectors)
{
    static constexpr std::array<std::byte, cdtime::kBytesPerSector> silence{};
    for (int i = 0; i < sectors; ++i) {
        if (!push(stop, silence.data(), silence.size()))
            return false;
    }
    return true;
}

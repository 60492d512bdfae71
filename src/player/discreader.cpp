#include "discreader.h"

#include "cdtime.h"
#include "disc.h"
#include "ringbuffer.h"

#include <algorithm>
#include <array>
#include <chrono>

namespace {

constexpr int kChunkSectors = 15;  // a fifth of a second per read
constexpr int kMaxSkipsInARow = 3; // seconds without one good sector: the disc is gone
// The ring holds a second, so the reader can wait for room in tenths and wake seldom.
constexpr auto kWaitForSpace = std::chrono::milliseconds(100);

} // namespace

DiscReader::DiscReader(Disc& disc, int firstSector, int endSector, RingBuffer& ring)
    : disc_(disc), firstSector_(firstSector), endSector_(endSector), ring_(ring),
      thread_([this](std::stop_token stop) { run(stop); })
{
}

void DiscReader::run(std::stop_token stop)
{
    int sector = firstSector_;
    while (sector < endSector_ && !stop.stop_requested()) {
        const Track* track = disc_.trackAt(sector);
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
    ring_.close();
}

// Reads the audio sectors [sector, runEnd); false when reading must end.
bool DiscReader::readRun(std::stop_token stop, int& sector, int runEnd)
{
    std::array<std::byte, kChunkSectors * cdtime::kBytesPerSector> chunk;
    while (sector < runEnd && !stop.stop_requested()) {
        const int count = std::min(kChunkSectors, runEnd - sector);
        if (disc_.readAudio(sector, count, chunk.data())) {
            skipsInARow_ = 0;
            if (!push(stop, chunk.data(), std::size_t(count) * cdtime::kBytesPerSector))
                return false;
            sector += count;
            continue;
        }
        // Find the first bad sector of the chunk, keeping what reads before it.
        int good = 0;
        while (good < count && disc_.readAudio(sector + good, 1, chunk.data()) &&
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
    return !stop.stop_requested();
}

bool DiscReader::push(std::stop_token stop, const std::byte* data, std::size_t size)
{
    while (size > 0) {
        const std::size_t taken = ring_.write(data, size);
        data += taken;
        size -= taken;
        if (size > 0) {
            if (stop.stop_requested())
                return false;
            std::this_thread::sleep_for(kWaitForSpace);
        }
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

#pragma once

#include <cstdint>

// The time line of an audio CD: 75 sectors a second, each sector 588 stereo frames of 16-bit
// samples at 44.1 kHz. Times are given on the MSF line, where sector 0 of the disc sits at
// 2 seconds (150 sectors of lead-in), so track 1 starts at 2000 ms.
namespace cdtime {

inline constexpr int kSampleRate = 44100;
inline constexpr int kBytesPerFrame = 4;
inline constexpr int kFramesPerSector = 588;
inline constexpr int kBytesPerSector = kFramesPerSector * kBytesPerFrame; // 2352
inline constexpr int kSectorsPerSecond = 75;
inline constexpr int kLeadInSectors = 150;

// Frame index on the MSF line of the first frame of a sector.
constexpr std::int64_t sectorToFrame(int sector)
{
    return std::int64_t{sector + kLeadInSectors} * kFramesPerSector;
}

// The sector that holds a frame of the MSF line.
constexpr int frameToSector(std::int64_t frame)
{
    return static_cast<int>(frame / kFramesPerSector) - kLeadInSectors;
}

constexpr int frameToMs(std::int64_t frame)
{
    return static_cast<int>(frame * 1000 / kSampleRate);
}

constexpr int sectorsToMs(int sectors)
{
    return static_cast<int>(std::int64_t{sectors} * 1000 / kSectorsPerSecond);
}

// Milliseconds on the MSF line to a sector, rounded to the nearest one, so that a track start
// read back in milliseconds (truncated) names the same sector again.
constexpr int msToSector(int ms)
{
    return static_cast<int>((std::int64_t{ms} * kSectorsPerSecond + 500) / 1000) - kLeadInSectors;
}

} // namespace cdtime

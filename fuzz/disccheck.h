#pragma once

// What the disc fuzz targets check of whatever Disc::open makes of their input: a table of
// contents that makes sense, and reads that stay inside the buffer they are given
// (AddressSanitizer watches its edges).

#include "cdtime.h"
#include "disc.h"
#include "fuzzsupport.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <vector>

namespace fuzz {

// The most sectors read at once from the start of a track.
constexpr int kMostSectorsRead = 3;

// Reads sectors of a track into a buffer of exactly their size, so an overrun on either side is
// caught; where a track lies within good data, they read.
inline void read(Disc& disc, int first, int count, bool mustRead)
{
    std::vector<std::byte> buffer(std::size_t(count) * cdtime::kBytesPerSector);
    const bool read = disc.readAudio(first, count, buffer.data());
    static const bool verbose = qEnvironmentVariableIsSet("FUZZ_VERBOSE");
    if (verbose)
        std::fprintf(stderr, "read %d sectors from %d: %s\n", count, first, read ? "yes" : "no");
    check(read || !mustRead, "the sectors of an audio track read");
}

// `readsMustSucceed`: the audio under the disc is known to be whole.
inline void checkDisc(const QString& path, bool readsMustSucceed)
{
    const std::unique_ptr<Disc> disc = Disc::open(path);
    if (!disc)
        return;

    const std::vector<Track>& tracks = disc->tracks();
    // FUZZ_VERBOSE=1 shows the table of contents, for looking at one input.
    static const bool verbose = qEnvironmentVariableIsSet("FUZZ_VERBOSE");
    for (const Track& track : tracks) {
        if (verbose)
            std::fprintf(stderr, "track %d: %s, sectors %d to %d\n", track.number,
                         track.isAudio ? "audio" : "data", track.firstSector, track.endSector());
    }
    check(!tracks.empty(), "an open disc has tracks");
    check(tracks.front().number >= 1 && tracks.back().number <= 99, "track numbers are 1 to 99");
    const Track* firstAudio = nullptr;
    const Track* lastAudioWithSectors = nullptr;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const Track& track = tracks[i];
        check(track.number == tracks.front().number + int(i), "tracks count up by one");
        check(track.firstSector >= 0 && track.sectorCount >= 0,
              "a track starts on the disc and has no negative length");
        check(track.firstSector <= INT32_MAX - track.sectorCount, "a track's end fits");
        if (i + 1 < tracks.size())
            check(track.endSector() <= tracks[i + 1].firstSector,
                  "a track ends where the next starts or before");
        // What the player shows of the track, in milliseconds on the MSF line.
        (void)cdtime::frameToMs(cdtime::sectorToFrame(track.firstSector));
        (void)cdtime::sectorsToMs(track.sectorCount);
        check(disc->track(track.number) == &track, "track(n) finds track n");
        if (track.sectorCount > 0) {
            check(disc->trackAt(track.firstSector) == &track, "trackAt finds its start");
            check(disc->trackAt(track.endSector() - 1) == &track, "trackAt finds its end");
        }
        if (track.isAudio && !firstAudio)
            firstAudio = &track;
        if (track.isAudio && track.sectorCount > 0)
            lastAudioWithSectors = &track;
    }
    check(disc->track(tracks.front().number - 1) == nullptr, "no track before the first");
    check(disc->track(tracks.back().number + 1) == nullptr, "no track after the last");
    check(disc->trackAt(-1) == nullptr, "no track before the disc");
    check(disc->firstAudioTrack() == firstAudio, "firstAudioTrack is the first audio track");
    check(disc->audioEndSector() == (lastAudioWithSectors ? lastAudioWithSectors->endSector() : 0),
          "audioEndSector ends the last audio track with sectors");

    for (const Track& track : tracks) {
        if (!track.isAudio || track.sectorCount == 0)
            continue;
        read(*disc, track.firstSector, std::min(track.sectorCount, kMostSectorsRead),
             readsMustSucceed);
        read(*disc, track.endSector() - 1, 1, readsMustSucceed);
    }
}

} // namespace fuzz

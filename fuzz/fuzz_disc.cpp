// Any bytes as a cue sheet or a toc file beside a small valid bin, and as an NRG image: Disc::open
// either refuses them or gives a table of contents that makes sense, and reading audio from each
// audio track stays inside the buffer it is given (AddressSanitizer watches the buffer's edges).
// libcdio speaks through the program's own log handler, as in the program: its errors fail the
// call instead of ending the process.
//
// libcdio itself is Debian's build, not instrumented: the fuzzer is guided by what Disc makes of
// its answers, and a fault inside libcdio shows only when it crashes. Replaying the corpus under
// valgrind with an uninstrumented build of this file (fuzz/replay.cpp) finds the quieter ones.

#include "cdtime.h"
#include "disc.h"
#include "fuzzsupport.h"

#include <QLoggingCategory>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// A few seconds of audio, each sector filled with its own number so the data is not all alike.
constexpr int kBinSectors = 300;
// The most sectors read at once from the start of a track.
constexpr int kMostSectorsRead = 3;

void prepare()
{
    if (qEnvironmentVariableIsSet("FUZZ_VERBOSE"))
        QLoggingCategory::setFilterRules(QStringLiteral("corvanta.player.info=true"));
    QByteArray bin(qsizetype(kBinSectors) * cdtime::kBytesPerSector, Qt::Uninitialized);
    for (qsizetype i = 0; i < bin.size(); ++i)
        bin[i] = char(i / cdtime::kBytesPerSector + i % 7);
    fuzz::writeFile(fuzz::path(QStringLiteral("disc.bin")), bin.constData(), bin.size());
}

// Reads sectors of a track into a buffer of exactly their size, so an overrun on either side is
// caught; a track lies within the data, so they read.
void read(Disc& disc, int first, int count)
{
    std::vector<std::byte> buffer(std::size_t(count) * cdtime::kBytesPerSector);
    const bool read = disc.readAudio(first, count, buffer.data());
    static const bool verbose = qEnvironmentVariableIsSet("FUZZ_VERBOSE");
    if (verbose)
        std::fprintf(stderr, "read %d sectors from %d: %s\n", count, first, read ? "yes" : "no");
    fuzz::check(read, "the sectors of an audio track read");
}

void checkDisc(const QString& path)
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
    fuzz::check(!tracks.empty(), "an open disc has tracks");
    fuzz::check(tracks.front().number >= 1 && tracks.back().number <= 99,
                "track numbers are 1 to 99");
    const Track* firstAudio = nullptr;
    const Track* lastAudioWithSectors = nullptr;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const Track& track = tracks[i];
        fuzz::check(track.number == tracks.front().number + int(i), "tracks count up by one");
        fuzz::check(track.firstSector >= 0 && track.sectorCount >= 0,
                    "a track starts on the disc and has no negative length");
        fuzz::check(track.firstSector <= INT32_MAX - track.sectorCount, "a track's end fits");
        if (i + 1 < tracks.size())
            fuzz::check(track.endSector() <= tracks[i + 1].firstSector,
                        "a track ends where the next starts or before");
        // What the player shows of the track, in milliseconds on the MSF line.
        (void)cdtime::frameToMs(cdtime::sectorToFrame(track.firstSector));
        (void)cdtime::sectorsToMs(track.sectorCount);
        fuzz::check(disc->track(track.number) == &track, "track(n) finds track n");
        if (track.sectorCount > 0) {
            fuzz::check(disc->trackAt(track.firstSector) == &track, "trackAt finds its start");
            fuzz::check(disc->trackAt(track.endSector() - 1) == &track, "trackAt finds its end");
        }
        if (track.isAudio && !firstAudio)
            firstAudio = &track;
        if (track.isAudio && track.sectorCount > 0)
            lastAudioWithSectors = &track;
    }
    fuzz::check(disc->track(tracks.front().number - 1) == nullptr, "no track before the first");
    fuzz::check(disc->track(tracks.back().number + 1) == nullptr, "no track after the last");
    fuzz::check(disc->trackAt(-1) == nullptr, "no track before the disc");
    fuzz::check(disc->firstAudioTrack() == firstAudio, "firstAudioTrack is the first audio track");
    fuzz::check(disc->audioEndSector() ==
                    (lastAudioWithSectors ? lastAudioWithSectors->endSector() : 0),
                "audioEndSector ends the last audio track with sectors");

    for (const Track& track : tracks) {
        if (!track.isAudio || track.sectorCount == 0)
            continue;
        read(*disc, track.firstSector, std::min(track.sectorCount, kMostSectorsRead));
        read(*disc, track.endSector() - 1, 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool prepared = (prepare(), true);
    (void)prepared;
    for (const char* name : {"disc.cue", "disc.toc", "disc.nrg"}) {
        const QString path = fuzz::path(QString::fromLatin1(name));
        fuzz::writeFile(path, reinterpret_cast<const char*>(data), qsizetype(size));
        checkDisc(path);
    }
    return 0;
}

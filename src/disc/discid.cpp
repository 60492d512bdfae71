#include "discid.h"

#include <algorithm>
#include <array>
#include <discid/discid.h>
#include <memory>

namespace {

// Sectors before a disc's first logical sector: its addresses start at 00:02:00.
constexpr int kLeadIn = 150;
// The gap between an Enhanced CD's audio session and its data session.
constexpr int kSessionGap = 11400;

struct DiscIdDeleter {
    void operator()(DiscId* id) const { discid_free(id); }
};

} // namespace

QString musicBrainzDiscId(const std::vector<Track>& tracks)
{
    const auto lastAudio = std::find_if(tracks.rbegin(), tracks.rend(),
                                        [](const Track& track) { return track.isAudio; });
    const bool numbered = std::all_of(tracks.begin(), tracks.end(), [](const Track& track) {
        return track.number >= 1 && track.number <= 99;
    });
    if (lastAudio == tracks.rend() || !numbered)
        return {};
    // A drive's audio runs to the data session, an image's to the data track itself.
    int leadOut = lastAudio->endSector();
    if (lastAudio != tracks.rbegin()) {
        const int dataStart = std::prev(lastAudio)->firstSector - kSessionGap;
        if (dataStart > lastAudio->firstSector)
            leadOut = std::min(leadOut, dataStart);
    }

    std::array<int, 100> offsets{};
    offsets[0] = leadOut + kLeadIn;
    for (auto track = tracks.begin(); track != lastAudio.base(); ++track)
        offsets[std::size_t(track->number)] = track->firstSector + kLeadIn;
    const std::unique_ptr<DiscId, DiscIdDeleter> id(discid_new());
    if (!id || !discid_put(id.get(), tracks.front().number, lastAudio->number, offsets.data()))
        return {};
    return QString::fromLatin1(discid_get_id(id.get()));
}

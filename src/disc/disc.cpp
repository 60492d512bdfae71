#include "disc.h"

#include "cdiodisc.h"
#include "cdtime.h"

#include <algorithm>

Disc::Disc(std::vector<Track> tracks, std::map<int, DiscText> text)
    : tracks_(std::move(tracks)), text_(std::move(text))
{
}

std::unique_ptr<Disc> Disc::open(const QString& path, QString* whyNot)
{
    return CdioDisc::open(path, whyNot);
}

int Track::lengthMs() const
{
    return cdtime::sectorsToMs(sectorCount);
}

const Track* Disc::track(int number) const
{
    const auto found = std::find_if(tracks_.begin(), tracks_.end(),
                                    [number](const Track& t) { return t.number == number; });
    return found == tracks_.end() ? nullptr : &*found;
}

const Track* Disc::trackAt(int sector) const
{
    const auto found = std::find_if(tracks_.begin(), tracks_.end(), [sector](const Track& t) {
        return sector >= t.firstSector && sector < t.endSector();
    });
    return found == tracks_.end() ? nullptr : &*found;
}

const Track* Disc::firstAudioTrack() const
{
    const auto found =
        std::find_if(tracks_.begin(), tracks_.end(), [](const Track& t) { return t.isAudio; });
    return found == tracks_.end() ? nullptr : &*found;
}

int Disc::audioEndSector() const
{
    const auto last = std::find_if(tracks_.rbegin(), tracks_.rend(),
                                   [](const Track& t) { return t.isAudio && t.sectorCount > 0; });
    return last == tracks_.rend() ? 0 : last->endSector();
}

DiscText Disc::text(int track) const
{
    const auto found = text_.find(track);
    return found == text_.end() ? DiscText{} : found->second;
}

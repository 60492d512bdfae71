#pragma once

#include "cuesheet.h"
#include "disc.h"

#include <memory>
#include <mutex>
#include <optional>
#include <sndfile.h>
#include <vector>

// A CD kept as a rip: a cue sheet over audio files (one for the album, or one a track), or a
// folder of audio files, one a track in natural name order. Its files follow each other on one
// time line of CD sectors, each starting on a sector of its own; the audio is decoded with
// libsndfile as it is read: 44.1 kHz, 16 bits (24 are cut to 16), mono played on both sides.
// Reads take turns.
class RippedAlbum final : public Disc {
public:
    // A sheet over audio files, which it names relative to `folder`.
    static std::unique_ptr<Disc> openCueSheet(const CueSheet& sheet, const QString& folder,
                                              QString* whyNot);
    static std::unique_ptr<Disc> openFolder(const QString& path, QString* whyNot);

    bool readAudio(int firstSector, int count, std::byte* out) override;

private:
    struct Closer {
        void operator()(SNDFILE* file) const { sf_close(file); }
    };
    using SoundFile = std::unique_ptr<SNDFILE, Closer>;
    // One audio file, where it stands on the album's time line.
    struct Part {
        SoundFile file;
        int channels = 2;
        qint64 firstFrame = 0;
        qint64 frames = 0;
    };
    struct Probed;
    // An audio file as a CD holds it; nothing for a file that is not audio at all, and nothing
    // with the reason for audio no CD holds.
    static std::optional<Probed> probe(const QString& path, QString& whyNot);

    RippedAlbum(std::vector<Part> parts, std::vector<Track> tracks, std::map<int, DiscText> text);
    // A track as the sheet or the folder places it: in which file, and where in it.
    struct Placed {
        int number = 0;
        std::size_t file = 0;
        qint64 startSector = 0;
    };
    static std::unique_ptr<Disc> make(std::vector<Probed> files, const std::vector<Placed>& placed,
                                      std::map<int, DiscText> text, QString* whyNot);
    bool readPart(Part& part, qint64 from, qint64 to, qint64 firstFrame, std::byte* out);

    std::mutex readLock_;
    std::vector<Part> parts_;
    std::vector<int> samples_; // the reads' scratch
};

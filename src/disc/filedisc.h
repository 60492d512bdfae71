#pragma once

#include "disc.h"
#include "discfile.h"

#include <QStringList>
#include <memory>
#include <mutex>
#include <vector>

// A disc laid out from files: a cue sheet over raw disc images or audio files, one for the disc
// or one a track, or a folder of audio files, one a track in natural name order. The files
// follow each other on one time line of CD sectors, each from a sector of its own. Reads take
// turns.
class FileDisc final : public Disc {
public:
    static std::unique_ptr<Disc> openCueSheet(const QString& path, QString* whyNot);
    static std::unique_ptr<Disc> openFolder(const QString& path, QString* whyNot);

    bool readAudio(int firstSector, int count, std::byte* out) override;
    TrackSource source(int track) const override;

private:
    using Files = std::vector<std::unique_ptr<DiscFile>>;
    // One file, where it stands on the disc's time line.
    struct Part {
        std::unique_ptr<DiscFile> file;
        qint64 firstFrame = 0;
    };
    // A track as the sheet or the folder places it: in which file, and where in it.
    struct Placed {
        int number = 0;
        bool isAudio = true;
        std::size_t file = 0;
        qint64 startSector = 0;
    };

    FileDisc(std::vector<Part> parts, std::vector<Track> tracks, std::map<int, DiscText> text);
    // `paths` are the files', in the same order, and `folder` is where they were found.
    static std::unique_ptr<Disc> make(Files files, const QStringList& paths, const QString& folder,
                                      const std::vector<Placed>& placed,
                                      std::map<int, DiscText> text, QString* whyNot);

    std::mutex readLock_;
    std::vector<Part> parts_;
    QString folder_;
    std::map<int, QString> ownFiles_; // by track number
};

#pragma once

#include <QString>
#include <cstddef>
#include <map>
#include <memory>
#include <vector>

struct Track {
    int number = 0;
    int firstSector = 0; // logical sector, 0 = the disc's first
    int sectorCount = 0;
    bool isAudio = false;

    int endSector() const { return firstSector + sectorCount; }
    int lengthMs() const;
};

// What a disc's CD-TEXT says of the disc or of one of its tracks; empty where it says nothing.
struct DiscText {
    QString title;
    QString performer;
};

// Where a disc from files keeps a track: the folder of its sheet or of its files, and the file
// that holds this track and no other. Empty where they are not known (a drive, a .toc image).
struct TrackSource {
    QString folder;
    QString ownFile;
};

// An audio disc: what a drive letter names. Its table of contents and text are read once at open
// and never change.
//
// Thread contract: the table of contents may be read from any thread. readAudio() may be called
// from any thread; calls take turns. Opening and destroying may wait as long as the drive:
// neither belongs on the user interface's thread.
class Disc {
public:
    // A drive's device node or a disc image (see CdioDisc). Nothing when the path cannot be
    // opened, holds no disc, or its table of contents is unusable; then `whyNot`, when given,
    // says which, in Japanese.
    static std::unique_ptr<Disc> open(const QString& path, QString* whyNot = nullptr);
    virtual ~Disc() = default;
    Disc(const Disc&) = delete;
    Disc& operator=(const Disc&) = delete;

    const std::vector<Track>& tracks() const { return tracks_; }
    const Track* track(int number) const;
    const Track* trackAt(int sector) const;
    const Track* firstAudioTrack() const;
    // One past the last sector of the last audio track that holds any; 0 when there is none.
    int audioEndSector() const;
    // Of the disc (0) or of one of its tracks.
    DiscText text(int track) const;
    virtual TrackSource source(int /*track*/) const { return {}; }

    // Reads `count` whole sectors of audio into `out` (count × 2352 bytes); what cannot be read
    // is left silent.
    virtual bool readAudio(int firstSector, int count, std::byte* out) = 0;

protected:
    Disc(std::vector<Track> tracks, std::map<int, DiscText> text);

private:
    std::vector<Track> tracks_;
    std::map<int, DiscText> text_;
};

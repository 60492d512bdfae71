#pragma once

#include "disc.h"

#include <cdio/cdio.h>
#include <mutex>

// A disc opened through libcdio: a drive's device node or a disc image (.toc, .nrg); cue sheets
// are the program's own to read. Reads take turns, since a libcdio handle is not thread-safe (a
// reader whose playback was stopped may still be inside a read when the next playback's reader
// starts). Opening and destroying take their turn at libcdio with every other open.
class CdioDisc final : public Disc {
public:
    static std::unique_ptr<Disc> open(const QString& path, QString* whyNot);
    ~CdioDisc() override;

    bool readAudio(int firstSector, int count, std::byte* out) override;

private:
    struct CdioCloser {
        void operator()(CdIo_t* handle) const { cdio_destroy(handle); }
    };
    using Handle = std::unique_ptr<CdIo_t, CdioCloser>;

    CdioDisc(Handle handle, bool isDrive, std::vector<Track> tracks, std::map<int, DiscText> text);

    const bool isDrive_; // not an image file
    std::mutex readLock_;
    Handle handle_;
};

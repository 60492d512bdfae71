#pragma once

#include <QtGlobal>
#include <cstddef>

// One file a disc's sectors come from, read as a CD's frames: 16-bit little-endian stereo.
// Not thread-safe: its disc takes turns.
class DiscFile {
public:
    virtual ~DiscFile() = default;
    DiscFile(const DiscFile&) = delete;
    DiscFile& operator=(const DiscFile&) = delete;

    qint64 frames() const { return frames_; }
    // Frames [first, first + count), which lie within the file, into `out`, which is silent
    // already; false when the file fails before them.
    virtual bool read(qint64 first, qint64 count, std::byte* out) = 0;

protected:
    explicit DiscFile(qint64 frames) : frames_(frames) {}

private:
    qint64 frames_;
};

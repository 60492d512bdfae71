#pragma once

#include "playerdevices.h"

#include <QByteArray>
#include <atomic>

// A sound device turned by hand: frames are played only when the test says so, which makes
// positions exact. Waits for the disc reader when it is behind, as a real device's buffer would
// hide.
class ManualAudioSink final : public AudioSink {
public:
    explicit ManualAudioSink(std::shared_ptr<RingBuffer> source) : source_(std::move(source)) {}

    // What is played by hand less the latency the test states.
    std::int64_t framesHeard() const override
    {
        return std::max<std::int64_t>(0, played_ - latency);
    }
    bool isLost() const override { return lost; }
    // Plays up to `frames` frames, fewer only at the end of what the reader delivers; returns
    // the bytes played.
    QByteArray play(int frames);

    std::atomic<bool> lost{false};
    std::atomic<std::int64_t> latency{0}; // frames

private:
    const std::shared_ptr<RingBuffer> source_;
    std::atomic<std::int64_t> played_{0};
};

// Hands out manual sinks and keeps hold of the one in use.
class ManualOutput {
public:
    // The player's devices with this output, and no optical drive of the host's.
    PlayerDevices devices();
    // The sink of the playback under way; valid until it stops.
    ManualAudioSink& sink() { return *sink_; }

private:
    ManualAudioSink* sink_ = nullptr;
};

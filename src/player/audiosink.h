#pragma once

#include <QFuture>
#include <cstdint>
#include <functional>
#include <memory>

class RingBuffer;

// Where the disc's audio goes: drains a ring of 44.1 kHz 16-bit stereo frames from the moment
// it is made until it is released. The sound device in the program, a hand-turned clock in the
// tests.
class AudioSink {
public:
    virtual ~AudioSink() = default;
    // Frames taken from the ring that have been heard: those handed to the output less the
    // output's latency, the device's buffer and the sound server's where it says. Never goes
    // back. Any thread.
    virtual std::int64_t framesHeard() const = 0;
    // The output is gone and will play nothing more. Any thread.
    virtual bool isLost() const { return false; }
};

// Makes the sink of a playback, off the user-interface thread where opening the output may wait;
// nothing when there is no sound output at all.
using AudioSinkFactory =
    std::function<QFuture<std::shared_ptr<AudioSink>>(std::shared_ptr<RingBuffer> source)>;

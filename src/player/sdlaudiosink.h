#pragma once

#include "audiosink.h"

#include <SDL.h>
#include <atomic>

// Plays through an SDL audio device: the sound server's default output, or SDL's silent "dummy"
// output when no device can be opened, so the position still advances in real time.
//
// Thread contract: SDL's audio thread runs the callback, which only drains the ring and never
// blocks; framesPlayed() may be read from any thread. Only one sink may exist at a time, since
// it owns SDL's audio subsystem while it lives.
class SdlAudioSink final : public AudioSink {
public:
    explicit SdlAudioSink(RingBuffer& source);
    ~SdlAudioSink() override;
    SdlAudioSink(const SdlAudioSink&) = delete;
    SdlAudioSink& operator=(const SdlAudioSink&) = delete;

    std::int64_t framesPlayed() const override { return played_.load(std::memory_order_acquire); }
    // The SDL driver in use ("pulseaudio", "dummy", ...).
    const char* driverName() const;

private:
    static void fill(void* self, Uint8* stream, int length);
    SDL_AudioDeviceID openDevice(const char* driver);

    RingBuffer& source_;
    std::atomic<std::int64_t> played_{0};
    std::int64_t delivered_ = 0; // audio thread only
    bool primed_ = false;        // audio thread only
    SDL_AudioDeviceID device_ = 0;
};

std::unique_ptr<AudioSink> makeSdlAudioSink(RingBuffer& source);

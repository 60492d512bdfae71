#pragma once

#include "audiosink.h"

#include <QLibrary>
#include <SDL.h>
#include <atomic>
#include <optional>

// The SDL audio functions the sink uses, looked up in the SDL library at run time. The program
// links no sound library, so its start-up does not wait for SDL and the many libraries SDL
// brings along; they load at the first play.
struct SdlAudioApi {
    decltype(&SDL_SetHint) SetHint = nullptr;
    decltype(&SDL_AudioInit) AudioInit = nullptr;
    decltype(&SDL_AudioQuit) AudioQuit = nullptr;
    decltype(&SDL_OpenAudioDevice) OpenAudioDevice = nullptr;
    decltype(&SDL_PauseAudioDevice) PauseAudioDevice = nullptr;
    decltype(&SDL_CloseAudioDevice) CloseAudioDevice = nullptr;
    decltype(&SDL_GetCurrentAudioDriver) GetCurrentAudioDriver = nullptr;

    // All of them from the library, or nothing when it cannot be loaded.
    static std::optional<SdlAudioApi> load(QLibrary& library);
};

// Plays through an SDL audio device: the sound server's default output, or SDL's silent "dummy"
// output when no device can be opened, so the position still advances in real time.
//
// Thread contract: SDL's audio thread runs the callback, which only drains the ring and never
// blocks for long (it wakes the disc reader when it has made the room the reader waits for);
// framesPlayed() may be read from any thread. Only one sink may exist at a time, since it owns
// SDL's audio subsystem while it lives.
class SdlAudioSink final : public AudioSink {
public:
    // Nothing when not even the silent output opens.
    static std::unique_ptr<SdlAudioSink> open(const SdlAudioApi& sdl, RingBuffer& source);
    ~SdlAudioSink() override;
    SdlAudioSink(const SdlAudioSink&) = delete;
    SdlAudioSink& operator=(const SdlAudioSink&) = delete;

    std::int64_t framesPlayed() const override { return played_.load(std::memory_order_acquire); }
    // The SDL driver in use ("pulseaudio", "dummy", ...).
    const char* driverName() const;

private:
    SdlAudioSink(const SdlAudioApi& sdl, RingBuffer& source);
    static void fill(void* self, Uint8* stream, int length);
    SDL_AudioDeviceID openDevice(const char* driver);

    const SdlAudioApi& sdl_;
    RingBuffer& source_;
    std::atomic<std::int64_t> played_{0};
    std::int64_t delivered_ = 0; // audio thread only
    bool primed_ = false;        // audio thread only
    SDL_AudioDeviceID device_ = 0;
};

// The sound output of the program: hands out SDL sinks, loading SDL for the first. Outlives the
// sinks it makes.
class SdlAudioOutput {
public:
    // Sinks for playback; none when SDL cannot be loaded.
    AudioSinkFactory factory();

private:
    std::unique_ptr<AudioSink> makeSink(RingBuffer& source);

    QLibrary library_{QStringLiteral("SDL2-2.0"), 0};
    bool loadTried_ = false;
    std::optional<SdlAudioApi> api_;
};

#pragma once

#include "audiosink.h"

#include <QLibrary>
#include <SDL.h>
#include <atomic>
#include <optional>

class PulseLatency;
class TaskQueue;

// How loud a sink plays: the factor its samples are scaled by, in 1/65536; 65536 leaves them
// as they are. Set from any thread, read by the sound callback.
using AudioGain = std::atomic<std::int32_t>;
inline constexpr std::int32_t kFullGain = 1 << 16;

// The SDL audio functions the sink uses, looked up in the SDL library at run time. The program
// links no sound library, so its start-up does not wait for SDL and the many libraries SDL
// brings along; they load at the first play.
struct SdlAudioApi {
    decltype(&SDL_SetHint) SetHint = nullptr;
    decltype(&SDL_GetError) GetError = nullptr;
    decltype(&SDL_AudioInit) AudioInit = nullptr;
    decltype(&SDL_AudioQuit) AudioQuit = nullptr;
    decltype(&SDL_GetCurrentAudioDriver) GetCurrentAudioDriver = nullptr;
    decltype(&SDL_OpenAudioDevice) OpenAudioDevice = nullptr;
    decltype(&SDL_PauseAudioDevice) PauseAudioDevice = nullptr;
    decltype(&SDL_GetAudioDeviceStatus) GetAudioDeviceStatus = nullptr;
    decltype(&SDL_CloseAudioDevice) CloseAudioDevice = nullptr;
    decltype(&SDL_TLSCleanup) TLSCleanup = nullptr;

    // All of them from the library, or nothing when it cannot be loaded.
    static std::optional<SdlAudioApi> load(QLibrary& library);
};

// Plays through a device of the SDL audio driver that is up.
//
// Thread contract: SDL's audio thread runs the callback, which only drains the ring and never
// blocks for long (it wakes the disc reader when it has made the room the reader waits for);
// framesPlayed() and isLost() may be called from any thread. Opened and closed on the thread of
// the output that made it.
class SdlAudioSink final : public AudioSink {
public:
    // Nothing when the device does not open.
    // `server`: what the sound server says of its latency, where it says.
    static std::unique_ptr<SdlAudioSink> open(const SdlAudioApi& sdl,
                                              std::shared_ptr<RingBuffer> source,
                                              std::shared_ptr<const AudioGain> gain,
                                              std::shared_ptr<const PulseLatency> server);
    ~SdlAudioSink() override;
    SdlAudioSink(const SdlAudioSink&) = delete;
    SdlAudioSink& operator=(const SdlAudioSink&) = delete;

    // Handed to the device less the server's latency where it is known; otherwise what the
    // device has asked to be replaced, its own buffer still playing. Between the device's asks
    // the sound goes on: the time since the last is added, up to the buffer it was handed.
    std::int64_t framesHeard() const override;
    // The sound server went away or the device was unplugged.
    bool isLost() const override;
    // Plays silence from the next buffer on: a released sink is heard no more, however long its
    // device then takes to close.
    void silence() { silenced_.store(true, std::memory_order_relaxed); }

private:
    SdlAudioSink(const SdlAudioApi& sdl, std::shared_ptr<RingBuffer> source,
                 std::shared_ptr<const AudioGain> gain, std::shared_ptr<const PulseLatency> server);
    static void fill(void* self, Uint8* stream, int length);
    std::int64_t heldAfterWriting(std::int64_t written, std::int64_t nowNs);

    const SdlAudioApi sdl_;
    const std::shared_ptr<RingBuffer> source_;
    const std::shared_ptr<const AudioGain> gain_;
    const std::shared_ptr<const PulseLatency> server_;
    std::atomic<std::int64_t> handed_{0};      // written by the audio thread only
    std::atomic<std::int64_t> lastHanded_{0};  // frames of the buffer handed last
    std::atomic<std::int64_t> lastAskedNs_{0}; // when, on the steady clock
    // What the sound server held right after the last buffer, audio and silence, by its figures;
    // -1 without one.
    std::atomic<std::int64_t> held_{-1};
    std::int64_t readingNs_ = 0; // when the figure taken last came; audio thread only
    // Silence handed since the last of the audio: that much of what the server holds is no
    // audio still to be heard.
    std::atomic<std::int64_t> padding_{0};
    mutable std::atomic<std::int64_t> heard_{0}; // the most told, so that it never goes back
    std::atomic<bool> silenced_{false};
    bool primed_ = false; // audio thread only
    SDL_AudioDeviceID device_ = 0;
};

// The sound output of the program: the sound server's default output, or SDL's silent "dummy"
// output when no device can be opened, so the position still advances in real time. SDL is
// loaded at the first play, its audio driver brought up for the first sink and down after the
// last. Every call into SDL's audio runs on one thread of the output's own, in order, since the
// sound server may take its time to answer. A sink asked for while an older one is still open
// where only one may be (SDL's silent output) opens once the older one has closed.
class SdlAudioOutput {
public:
    using Loader = std::function<std::optional<SdlAudioApi>()>;
    // By default SDL comes from its library.
    explicit SdlAudioOutput(Loader load = {});
    ~SdlAudioOutput();

    // Sinks for playback; none when SDL cannot be loaded or no output opens.
    AudioSinkFactory factory();
    // How loud every sink plays, the open ones at once: 0 (silent) to 1, the disc's own samples.
    void setVolume(double volume);

private:
    struct Driver;
    struct SinkRequest;
    static void openSink(const std::shared_ptr<Driver>& driver,
                         const std::shared_ptr<TaskQueue>& queue, SinkRequest request);
    static void closeSink(const std::shared_ptr<Driver>& driver,
                          const std::shared_ptr<TaskQueue>& queue, SdlAudioSink* sink);

    std::shared_ptr<AudioGain> gain_;
    std::shared_ptr<Driver> driver_; // used on the queue's thread only
    std::shared_ptr<TaskQueue> queue_;
};

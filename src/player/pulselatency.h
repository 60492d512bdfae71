#pragma once

#include <QLibrary>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

struct pa_context;
struct pa_threaded_mainloop;

// How long the PulseAudio server (or PipeWire's) takes to play what this program hands it: the
// latency of the program's newest playback stream, buffered and in the sink, as the server
// reports it several times a second. libpulse is loaded at run time, at the first play through
// SDL's PulseAudio driver; without it, or without the server, nothing is known.
class PulseLatency {
public:
    // Nothing when libpulse cannot be loaded or has no context to give.
    static std::unique_ptr<PulseLatency> start();
    ~PulseLatency();
    PulseLatency(const PulseLatency&) = delete;
    PulseLatency& operator=(const PulseLatency&) = delete;

    struct Reading {
        std::int64_t frames; // at 44.1 kHz
        std::chrono::steady_clock::time_point at;
    };
    // The latest figure and when it came; nothing while the server has not told it, or is gone.
    // Any thread.
    std::optional<Reading> reading() const;

private:
    struct Api;
    PulseLatency(std::unique_ptr<QLibrary> library, std::unique_ptr<Api> api);
    void ask();
    void tell(std::optional<std::int64_t> usec);

    std::unique_ptr<QLibrary> library_;
    std::unique_ptr<Api> api_;
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    mutable std::mutex readingLock_;
    std::optional<Reading> reading_;
    std::int64_t newest_ = -1; // the newest stream's index seen in the current answer
    std::jthread asking_;
};

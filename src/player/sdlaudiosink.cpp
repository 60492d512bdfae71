#include "sdlaudiosink.h"

#include "cdtime.h"
#include "libraryfunction.h"
#include "playerlog.h"
#include "pulselatency.h"
#include "ringbuffer.h"
#include "taskqueue.h"

#include <QPromise>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr int kDeviceFrames = 2048; // about 46 ms a callback, half a tick
constexpr std::size_t kPrimeBytes = std::size_t(cdtime::kSampleRate / 4) * cdtime::kBytesPerFrame;

// Scales 16-bit little-endian samples; at full gain they stay as they are, bit for bit.
void scale(Uint8* samples, std::size_t bytes, std::int32_t gain)
{
    if (gain == kFullGain)
        return;
    for (std::size_t at = 0; at + 1 < bytes; at += 2) {
        std::int16_t sample;
        std::memcpy(&sample, samples + at, 2);
        sample = std::int16_t(std::int32_t{sample} * gain / kFullGain);
        std::memcpy(samples + at, &sample, 2);
    }
}

std::int64_t nsSinceEpoch(std::chrono::steady_clock::time_point time)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
}

std::int64_t steadyNs()
{
    return nsSinceEpoch(std::chrono::steady_clock::now());
}

// The frames played in that many nanoseconds.
std::int64_t framesIn(std::int64_t ns)
{
    return ns * cdtime::kSampleRate / 1'000'000'000;
}

} // namespace

std::optional<SdlAudioApi> SdlAudioApi::load(QLibrary& library)
{
    SdlAudioApi api;
    if (library.load() && resolveFunction(library, api.SetHint, "SDL_SetHint") &&
        resolveFunction(library, api.GetError, "SDL_GetError") &&
        resolveFunction(library, api.AudioInit, "SDL_AudioInit") &&
        resolveFunction(library, api.AudioQuit, "SDL_AudioQuit") &&
        resolveFunction(library, api.GetCurrentAudioDriver, "SDL_GetCurrentAudioDriver") &&
        resolveFunction(library, api.OpenAudioDevice, "SDL_OpenAudioDevice") &&
        resolveFunction(library, api.PauseAudioDevice, "SDL_PauseAudioDevice") &&
        resolveFunction(library, api.GetAudioDeviceStatus, "SDL_GetAudioDeviceStatus") &&
        resolveFunction(library, api.CloseAudioDevice, "SDL_CloseAudioDevice") &&
        resolveFunction(library, api.TLSCleanup, "SDL_TLSCleanup"))
        return api;
    qCInfo(playerLog) << "no sound output:" << library.errorString();
    return std::nullopt;
}

SdlAudioSink::SdlAudioSink(const SdlAudioApi& sdl, std::shared_ptr<RingBuffer> source,
                           std::shared_ptr<const AudioGain> gain,
                           std::shared_ptr<const PulseLatency> server)
    : sdl_(sdl), source_(std::move(source)), gain_(std::move(gain)), server_(std::move(server))
{
}

std::unique_ptr<SdlAudioSink> SdlAudioSink::open(const SdlAudioApi& sdl,
                                                 std::shared_ptr<RingBuffer> source,
                                                 std::shared_ptr<const AudioGain> gain,
                                                 std::shared_ptr<const PulseLatency> server)
{
    std::unique_ptr<SdlAudioSink> sink(
        new SdlAudioSink(sdl, std::move(source), std::move(gain), std::move(server)));
    SDL_AudioSpec wanted{};
    wanted.freq = cdtime::kSampleRate;
    wanted.format = AUDIO_S16LSB;
    wanted.channels = 2;
    wanted.samples = kDeviceFrames;
    wanted.callback = &SdlAudioSink::fill;
    wanted.userdata = sink.get();
    sink->device_ = sdl.OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (sink->device_ == 0) {
        qCInfo(playerLog) << "the sound device does not open:" << sdl.GetError();
        return nullptr;
    }
    sdl.PauseAudioDevice(sink->device_, 0);
    return sink;
}

SdlAudioSink::~SdlAudioSink()
{
    if (device_ != 0)
        sdl_.CloseAudioDevice(device_);
}

std::int64_t SdlAudioSink::framesHeard() const
{
    const std::int64_t held = held_.load(std::memory_order_relaxed);
    const std::int64_t sinceAsked =
        framesIn(steadyNs() - lastAskedNs_.load(std::memory_order_relaxed));
    // The buffer handed last is stored before the count that includes it.
    const std::int64_t handed = handed_.load(std::memory_order_acquire);
    const std::int64_t lastHanded = lastHanded_.load();
    const std::int64_t heard =
        std::min(handed, (held >= 0 ? handed - std::max<std::int64_t>(0, held - padding_.load())
                                    : handed - lastHanded) +
                             std::clamp<std::int64_t>(sinceAsked, 0, lastHanded));
    std::int64_t told = heard_.load(std::memory_order_relaxed);
    while (heard > told && !heard_.compare_exchange_weak(told, heard, std::memory_order_relaxed)) {
    }
    return std::max(told, heard);
}

// The server tells its figure at its own moments, anywhere between two buffers, and each figure
// is a few milliseconds off. Carried by the clock to this write, each new one moves the estimate
// half-way, so the position neither runs ahead by half a buffer on average nor jumps back and
// forth between figures.
std::int64_t SdlAudioSink::heldAfterWriting(std::int64_t written, std::int64_t nowNs)
{
    const auto reading = server_ ? server_->reading() : std::nullopt;
    if (!reading)
        return -1;
    const std::int64_t estimate = held_.load(std::memory_order_relaxed);
    const std::int64_t sinceLast = framesIn(nowNs - lastAskedNs_.load(std::memory_order_relaxed));
    std::int64_t held = estimate < 0 ? -1 : std::max<std::int64_t>(0, estimate - sinceLast);
    if (const std::int64_t readingNs = nsSinceEpoch(reading->at); readingNs != readingNs_) {
        readingNs_ = readingNs;
        const std::int64_t told =
            std::max<std::int64_t>(0, reading->frames - framesIn(nowNs - readingNs));
        held = held < 0 ? told : (held + told) / 2;
    }
    return held + written;
}

bool SdlAudioSink::isLost() const
{
    return sdl_.GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED;
}

void SdlAudioSink::fill(void* self, Uint8* stream, int length)
{
    auto& sink = *static_cast<SdlAudioSink*>(self);
    if (sink.silenced_.load(std::memory_order_relaxed)) {
        std::memset(stream, 0, std::size_t(length));
        return;
    }
    // Start only with a little audio in hand, so a slow first read does not stutter.
    if (!sink.primed_)
        sink.primed_ = sink.source_->available() >= kPrimeBytes || sink.source_->isClosed();
    std::size_t taken = 0;
    if (sink.primed_)
        taken = sink.source_->read(reinterpret_cast<std::byte*>(stream), std::size_t(length));
    // Written to the device as soon as this returns. The device asks for more once it has
    // played what it was given before.
    const std::int64_t frames = std::int64_t(taken / cdtime::kBytesPerFrame);
    const std::int64_t silent =
        std::int64_t((std::size_t(length) - taken) / cdtime::kBytesPerFrame);
    sink.padding_.store(taken > 0 ? silent : sink.padding_.load() + silent);
    sink.lastHanded_.store(frames);
    const std::int64_t now = steadyNs();
    sink.held_.store(sink.heldAfterWriting(length / int(cdtime::kBytesPerFrame), now),
                     std::memory_order_relaxed);
    sink.lastAskedNs_.store(now, std::memory_order_relaxed);
    sink.handed_.store(sink.handed_.load(std::memory_order_relaxed) + frames,
                       std::memory_order_release);
    scale(stream, taken, sink.gain_->load(std::memory_order_relaxed));
    std::memset(stream + taken, 0, std::size_t(length) - taken);
}

struct SdlAudioOutput::SinkRequest {
    std::shared_ptr<RingBuffer> source;
    std::shared_ptr<QPromise<std::shared_ptr<AudioSink>>> promise;
};

// SDL's audio driver, how many sinks use it, and the sinks that wait for one of them to close.
struct SdlAudioOutput::Driver {
    Loader load;
    std::shared_ptr<const AudioGain> gain;
    QLibrary library{QStringLiteral("SDL2-2.0"), 0};
    bool loadTried = false;
    std::optional<SdlAudioApi> api;
    // While the driver is PulseAudio's.
    std::shared_ptr<const PulseLatency> server;
    int sinks = 0;
    std::vector<SinkRequest> waiting;
    // Sinks asked for whose turn on the queue has not come yet.
    std::atomic<int> opensAsked{0};

    std::unique_ptr<SdlAudioSink> makeSink(std::shared_ptr<RingBuffer> source);
    void closeSink(SdlAudioSink* sink);
    // Brings the driver up (nullptr: SDL's usual choice) and opens a sink on it, or leaves it down.
    std::unique_ptr<SdlAudioSink> openOn(const char* driver, std::shared_ptr<RingBuffer> source);
};

std::unique_ptr<SdlAudioSink> SdlAudioOutput::Driver::makeSink(std::shared_ptr<RingBuffer> source)
{
    if (!std::exchange(loadTried, true))
        api = load ? load() : SdlAudioApi::load(library);
    if (!api)
        return nullptr;
    std::unique_ptr<SdlAudioSink> sink;
    if (sinks > 0)
        sink = SdlAudioSink::open(*api, source, gain, server);
    else if (sink = openOn(nullptr, source); !sink)
        sink = openOn("dummy", source);
    sinks += sink ? 1 : 0;
    // SDL keeps an error message for each thread that calls it, and frees it only on threads of
    // its own.
    api->TLSCleanup();
    return sink;
}

void SdlAudioOutput::Driver::closeSink(SdlAudioSink* sink)
{
    delete sink;
    if (--sinks == 0) {
        server.reset();
        api->AudioQuit();
    }
    api->TLSCleanup();
}

std::unique_ptr<SdlAudioSink> SdlAudioOutput::Driver::openOn(const char* driver,
                                                             std::shared_ptr<RingBuffer> source)
{
    api->SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Corvanta");
    api->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (api->AudioInit(driver) != 0) {
        qCInfo(playerLog) << "no sound driver" << (driver ? driver : "") << api->GetError();
        return nullptr;
    }
    if (std::string_view(api->GetCurrentAudioDriver()) == "pulseaudio")
        server = PulseLatency::start();
    std::unique_ptr<SdlAudioSink> sink = SdlAudioSink::open(*api, std::move(source), gain, server);
    if (!sink) {
        server.reset();
        api->AudioQuit();
    }
    return sink;
}

SdlAudioOutput::SdlAudioOutput(Loader load)
    : gain_(std::make_shared<AudioGain>(kFullGain)), driver_(std::make_shared<Driver>()),
      queue_(std::make_shared<TaskQueue>())
{
    driver_->load = std::move(load);
    driver_->gain = gain_;
}

void SdlAudioOutput::setVolume(double volume)
{
    gain_->store(std::int32_t(std::lround(std::clamp(volume, 0.0, 1.0) * kFullGain)),
                 std::memory_order_relaxed);
}

SdlAudioOutput::~SdlAudioOutput() = default;

// A sink is closed on the output's thread too, after what was asked of SDL before.
AudioSinkFactory SdlAudioOutput::factory()
{
    return [driver = driver_, queue = queue_](std::shared_ptr<RingBuffer> source) {
        SinkRequest request{std::move(source),
                            std::make_shared<QPromise<std::shared_ptr<AudioSink>>>()};
        request.promise->start();
        QFuture<std::shared_ptr<AudioSink>> future = request.promise->future();
        ++driver->opensAsked;
        queue->post([driver, queue, request] {
            --driver->opensAsked;
            openSink(driver, queue, request);
        });
        return future;
    };
}

void SdlAudioOutput::openSink(const std::shared_ptr<Driver>& driver,
                              const std::shared_ptr<TaskQueue>& queue, SinkRequest request)
{
    // A playback stopped before its turn came wants no device.
    if (request.promise->isCanceled()) {
        request.promise->finish();
        return;
    }
    SdlAudioSink* sink = driver->makeSink(request.source).release();
    if (sink == nullptr && driver->sinks > 0) {
        driver->waiting.push_back(std::move(request));
        return;
    }
    std::shared_ptr<AudioSink> shared;
    if (sink != nullptr)
        shared.reset(sink, [driver, queue, sink](AudioSink*) {
            sink->silence();
            queue->post([driver, queue, sink] { closeSink(driver, queue, sink); });
        });
    request.promise->addResult(std::move(shared));
    request.promise->finish();
}

// A sink asked for meanwhile opens first: closing a device of a sound server can take SDL more
// than a second, which the next track need not wait for where several devices may be open.
void SdlAudioOutput::closeSink(const std::shared_ptr<Driver>& driver,
                               const std::shared_ptr<TaskQueue>& queue, SdlAudioSink* sink)
{
    if (driver->opensAsked > 0) {
        queue->post([driver, queue, sink] { closeSink(driver, queue, sink); });
        return;
    }
    driver->closeSink(sink);
    for (SinkRequest& request : std::exchange(driver->waiting, {}))
        openSink(driver, queue, std::move(request));
}

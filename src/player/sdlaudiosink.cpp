#include "sdlaudiosink.h"

#include "cdtime.h"
#include "ringbuffer.h"

#include <cstring>
#include <utility>

namespace {

constexpr int kDeviceFrames = 2048; // about 46 ms a callback, half a tick
constexpr std::size_t kPrimeBytes = std::size_t(cdtime::kSampleRate / 4) * cdtime::kBytesPerFrame;

template <typename Function> bool resolve(QLibrary& library, Function& function, const char* name)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

} // namespace

std::optional<SdlAudioApi> SdlAudioApi::load(QLibrary& library)
{
    SdlAudioApi api;
    if (library.load() && resolve(library, api.SetHint, "SDL_SetHint") &&
        resolve(library, api.AudioInit, "SDL_AudioInit") &&
        resolve(library, api.AudioQuit, "SDL_AudioQuit") &&
        resolve(library, api.OpenAudioDevice, "SDL_OpenAudioDevice") &&
        resolve(library, api.PauseAudioDevice, "SDL_PauseAudioDevice") &&
        resolve(library, api.CloseAudioDevice, "SDL_CloseAudioDevice") &&
        resolve(library, api.GetCurrentAudioDriver, "SDL_GetCurrentAudioDriver"))
        return api;
    return std::nullopt;
}

SdlAudioSink::SdlAudioSink(const SdlAudioApi& sdl, RingBuffer& source) : sdl_(sdl), source_(source)
{
}

std::unique_ptr<SdlAudioSink> SdlAudioSink::open(const SdlAudioApi& sdl, RingBuffer& source)
{
    sdl.SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Corvanta");
    sdl.SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    std::unique_ptr<SdlAudioSink> sink(new SdlAudioSink(sdl, source));
    sink->device_ = sink->openDevice(nullptr);
    if (sink->device_ == 0)
        sink->device_ = sink->openDevice("dummy");
    if (sink->device_ == 0)
        return nullptr;
    sdl.PauseAudioDevice(sink->device_, 0);
    return sink;
}

SdlAudioSink::~SdlAudioSink()
{
    if (device_ != 0)
        sdl_.CloseAudioDevice(device_);
    sdl_.AudioQuit();
}

// Opens the default device of a driver (nullptr: SDL's usual choice); 0 on failure, with the
// audio subsystem left shut.
SDL_AudioDeviceID SdlAudioSink::openDevice(const char* driver)
{
    if (sdl_.AudioInit(driver) != 0)
        return 0;
    SDL_AudioSpec wanted{};
    wanted.freq = cdtime::kSampleRate;
    wanted.format = AUDIO_S16LSB;
    wanted.channels = 2;
    wanted.samples = kDeviceFrames;
    wanted.callback = &SdlAudioSink::fill;
    wanted.userdata = this;
    const SDL_AudioDeviceID device = sdl_.OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0)
        sdl_.AudioQuit();
    return device;
}

const char* SdlAudioSink::driverName() const
{
    return sdl_.GetCurrentAudioDriver();
}

void SdlAudioSink::fill(void* self, Uint8* stream, int length)
{
    auto& sink = *static_cast<SdlAudioSink*>(self);
    // The device asks for more once it has played what it was given before.
    sink.played_.store(sink.delivered_, std::memory_order_release);

    // Start only with a little audio in hand, so a slow first read does not stutter.
    if (!sink.primed_)
        sink.primed_ = sink.source_.available() >= kPrimeBytes || sink.source_.isClosed();
    std::size_t taken = 0;
    if (sink.primed_) {
        taken = sink.source_.read(reinterpret_cast<std::byte*>(stream), std::size_t(length));
        sink.delivered_ += std::int64_t(taken / cdtime::kBytesPerFrame);
    }
    std::memset(stream + taken, 0, std::size_t(length) - taken);
}

AudioSinkFactory SdlAudioOutput::factory()
{
    return [this](RingBuffer& source) { return makeSink(source); };
}

std::unique_ptr<AudioSink> SdlAudioOutput::makeSink(RingBuffer& source)
{
    if (!std::exchange(loadTried_, true))
        api_ = SdlAudioApi::load(library_);
    if (!api_)
        return nullptr;
    return SdlAudioSink::open(*api_, source);
}

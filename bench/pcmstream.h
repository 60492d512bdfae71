#pragma once

// The sound half of the playback floors: 44.1 kHz 16-bit stereo PCM from a file, streamed from
// memory through SDL's default output with the player's device buffer.

#include <SDL.h>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class PcmStream {
public:
    PcmStream() = default;
    PcmStream(const PcmStream&) = delete;
    PcmStream& operator=(const PcmStream&) = delete;
    ~PcmStream()
    {
        if (device_ != 0)
            SDL_CloseAudioDevice(device_);
        SDL_Quit();
    }

    // Plays the file from the start; false with the reason when it is empty or SDL fails.
    bool start(const char* path, std::string& error)
    {
        std::ifstream file(path, std::ios::binary);
        pcm_.assign(std::istreambuf_iterator<char>(file), {});
        if (pcm_.empty() || SDL_Init(SDL_INIT_AUDIO) != 0) {
            error = pcm_.empty() ? "no PCM" : SDL_GetError();
            return false;
        }
        SDL_AudioSpec wanted{};
        wanted.freq = 44100;
        wanted.format = AUDIO_S16LSB;
        wanted.channels = 2;
        wanted.samples = kDeviceFrames;
        wanted.callback = &fill;
        wanted.userdata = this;
        device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        if (device_ == 0) {
            error = SDL_GetError();
            return false;
        }
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }
    // Frames handed to the device so far. Any thread.
    std::int64_t framesTaken() const { return taken_ / 4; }

private:
    static constexpr int kDeviceFrames = 2048; // as the player's sound output

    static void fill(void* userdata, Uint8* out, int length)
    {
        auto& stream = *static_cast<PcmStream*>(userdata);
        const std::size_t taken = std::min(std::size_t(length), stream.pcm_.size() - stream.at_);
        std::memcpy(out, stream.pcm_.data() + stream.at_, taken);
        std::memset(out + taken, 0, std::size_t(length) - taken);
        stream.at_ += taken;
        stream.taken_ += std::int64_t(taken);
    }

    std::vector<char> pcm_;
    std::size_t at_ = 0; // SDL's audio thread only
    std::atomic<std::int64_t> taken_{0};
    SDL_AudioDeviceID device_ = 0;
};

// bench_sdlfloor PCM SECONDS: the floor for playback. Streams 44.1 kHz 16-bit stereo from memory
// through SDL's audio output with the device buffer the player asks for, and nothing else: no
// disc, no reader thread, no window. Plays SECONDS, or the whole file if it is shorter.

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr int kDeviceFrames = 2048; // as the player's sound output

struct Stream {
    std::vector<char> pcm;
    std::size_t at = 0;
};

void fill(void* userdata, Uint8* out, int length)
{
    auto& stream = *static_cast<Stream*>(userdata);
    const std::size_t taken = std::min(std::size_t(length), stream.pcm.size() - stream.at);
    std::memcpy(out, stream.pcm.data() + stream.at, taken);
    std::memset(out + taken, 0, std::size_t(length) - taken);
    stream.at += taken;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fputs("usage: bench_sdlfloor PCM SECONDS\n", stderr);
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    Stream stream{{std::istreambuf_iterator<char>(file), {}}};
    if (stream.pcm.empty() || SDL_Init(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "bench_sdlfloor: %s\n",
                     stream.pcm.empty() ? "no PCM" : SDL_GetError());
        return 1;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = 44100;
    wanted.format = AUDIO_S16LSB;
    wanted.channels = 2;
    wanted.samples = kDeviceFrames;
    wanted.callback = &fill;
    wanted.userdata = &stream;
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0) {
        std::fprintf(stderr, "bench_sdlfloor: %s\n", SDL_GetError());
        return 1;
    }
    SDL_PauseAudioDevice(device, 0);
    SDL_Delay(Uint32(std::atoi(argv[2])) * 1000);
    SDL_CloseAudioDevice(device);
    SDL_Quit();
    return 0;
}

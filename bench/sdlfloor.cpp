// bench_sdlfloor PCM SECONDS: a reference for playback. Streams 44.1 kHz 16-bit stereo from memory
// through SDL's audio output with the device buffer the player asks for, and nothing else: no
// disc, no reader thread, no window. Plays SECONDS, or the whole file if it is shorter.

#include "pcmstream.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fputs("usage: bench_sdlfloor PCM SECONDS\n", stderr);
        return 2;
    }
    PcmStream stream;
    if (std::string error; !stream.start(argv[1], error)) {
        std::fprintf(stderr, "bench_sdlfloor: %s\n", error.c_str());
        return 1;
    }
    SDL_Delay(Uint32(std::atoi(argv[2])) * 1000);
    return 0;
}

#pragma once

// How a rip's audio is stored. The samples are always the disc's; only the container, the
// sample size, the rate written into the header and the channel count change.
struct RipFormat {
    enum class Container { Flac, Wav };
    Container container = Container::Flac;
    bool split = false; // one file per track instead of one for the album
    int bits = 16;      // 16 or 24
    int rate = 44100;
    int channels = 2; // 1 keeps the left channel only
    // The sheet in code page 932, as Japanese Windows rippers write it, naming files with
    // Japanese names.
    bool cp932 = false;
};

#pragma once

#include <QString>
#include <sndfile.h>

// The libsndfile functions a rip is read with, looked up at the first rip rather than linked, so
// that start-up does not load libsndfile and the codec libraries it brings along (FLAC, Vorbis,
// Opus, Ogg, mpg123, LAME) for a window that may never open a rip. Loaded once for the process,
// as the dynamic linker would have held it.
struct SndfileApi {
    decltype(&sf_open) open = nullptr;
    decltype(&sf_close) close = nullptr;
    decltype(&sf_get_string) getString = nullptr;
    decltype(&sf_seek) seek = nullptr;
    decltype(&sf_readf_int) readfInt = nullptr;
    decltype(&sf_readf_float) readfFloat = nullptr;

    // Nothing, with the reason in Japanese, when the library or one of its functions is missing.
    // Any thread.
    static const SndfileApi* get(QString& whyNot);
};

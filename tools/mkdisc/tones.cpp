#include "tones.h"

#include "cdtime.h"

#include <QtEndian>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

void putFrame(char* out, qint16 left, qint16 right)
{
    qToLittleEndian(left, out);
    qToLittleEndian(right, out + 2);
}

// Short rise and fall keep note edges click-free; the slow decay makes it sound plucked.
double envelope(double t, double length)
{
    constexpr double attack = 0.015;
    constexpr double release = 0.08;
    const double rise = t < attack ? std::sin(t / attack * std::numbers::pi / 2) : 1.0;
    const double tail = length - t;
    const double fall = tail < release ? std::sin(tail / release * std::numbers::pi / 2) : 1.0;
    return rise * fall * (0.55 + 0.45 * std::exp(-t / 0.6));
}

} // namespace

void fillTestSector(int track, qint64 sector, char* out)
{
    const double frequency = 300 + 100 * track;
    const qint64 first = sector * cdtime::kFramesPerSector;
    for (int i = 0; i < cdtime::kFramesPerSector; ++i) {
        const qint64 n = first + i;
        const double phase = 2.0 * std::numbers::pi * frequency * double(n) / 44100.0;
        const auto left = qint16(qRound(8000.0 * std::sin(phase)));
        const auto right = qint16(track * 256 + (n / cdtime::kSampleRate) % 256);
        putFrame(out + i * cdtime::kBytesPerFrame, left, right);
    }
}

QByteArray renderMelody(std::span<const Note> notes, qint64 frames)
{
    QByteArray pcm(frames * cdtime::kBytesPerFrame, '\0');
    // Fundamental plus a soft octave, scaled so the sum stays under 0.3 of full scale.
    constexpr double amplitude = 0.3 * 32767 / 1.2;
    for (const Note& note : notes) {
        const double frequency = 440.0 * std::pow(2.0, (note.pitch - 69) / 12.0);
        const qint64 begin = qint64(note.second) * cdtime::kSampleRate;
        const qint64 end = std::min(frames, begin + qint64(note.length) * cdtime::kSampleRate);
        for (qint64 n = begin; n < end; ++n) {
            const double t = double(n - begin) / cdtime::kSampleRate;
            const double phase = 2.0 * std::numbers::pi * frequency * t;
            const double v = std::sin(phase) + 0.2 * std::sin(2 * phase);
            const auto sample = qint16(qRound(amplitude * envelope(t, note.length) * v));
            putFrame(pcm.data() + n * cdtime::kBytesPerFrame, sample, sample);
        }
    }
    return pcm;
}

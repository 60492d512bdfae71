// e2e_tone: tells whether a recording of the sound server holds a test disc's track.
// mkdisc marks each test track on the right channel with track * 256 + second and puts a tone
// of 300 + 100 * track Hz on the left, so both what played and how it sounds can be checked.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <numbers>
#include <vector>

namespace {

constexpr int kRate = 44100;
// 0.1 s windows give 10 Hz bins, so every test tone sits exactly on one and nothing leaks.
constexpr std::size_t kWindow = kRate / 10;
constexpr double kMinRatioDb = 20.0;

struct Frame {
    int left;
    int right;
};

double goertzelPower(const std::vector<Frame>& frames, std::size_t begin, double hz)
{
    const double coeff = 2.0 * std::cos(2.0 * std::numbers::pi * hz / kRate);
    double s1 = 0.0;
    double s2 = 0.0;
    for (std::size_t i = begin; i < begin + kWindow; ++i) {
        const double s0 = frames[i].left + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return s1 * s1 + s2 * s2 - coeff * s1 * s2;
}

int fail(const char* reason)
{
    std::fprintf(stderr, "e2e_tone: FAIL: %s\n", reason);
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    const int track = argc == 3 ? std::atoi(argv[2]) : 0;
    if (track < 1 || track > 99) {
        std::fputs("usage: e2e_tone RECORDING.raw TRACK  (s16le stereo 44.1 kHz, TRACK 1..99)\n",
                   stderr);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in)
        return fail("cannot read the recording");
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
    std::vector<Frame> frames(bytes.size() / 4);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const unsigned char* b = &bytes[i * 4];
        frames[i] = {std::int16_t(b[0] | b[1] << 8), std::int16_t(b[2] | b[3] << 8)};
    }

    const double tone = 300.0 + 100.0 * track;
    long found = 0;
    long firstSecond = -1;
    long lastSecond = -1;
    bool countsUp = true;
    std::size_t firstIndex = 0;
    std::size_t lastIndex = 0;
    std::size_t run = 0; // unbroken marked frames ending here; only those make a clean window
    int windows = 0;
    double worstDb = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const long second = frames[i].right - track * 256;
        if (second < 0 || second > 255) {
            run = 0;
            continue;
        }
        if (found++ == 0) {
            firstSecond = second;
            firstIndex = i;
        } else if (second != lastSecond && second != lastSecond + 1) {
            countsUp = false;
        }
        lastSecond = second;
        lastIndex = i;
        if (++run % kWindow == 0) {
            const std::size_t begin = i + 1 - kWindow;
            const double own = goertzelPower(frames, begin, tone);
            const double other = std::max(goertzelPower(frames, begin, tone - 100.0),
                                          goertzelPower(frames, begin, tone + 100.0));
            worstDb = std::min(worstDb, 10.0 * std::log10((own + 1e-9) / (other + 1e-9)));
            ++windows;
        }
    }

    const long gaps = found == 0 ? 0 : long(lastIndex - firstIndex + 1) - found;
    std::printf("e2e_tone: %zu frames recorded; track %d: %ld frames found (%.2f s, %ld frames of "
                "gaps), seconds %ld..%ld seen, %.0f Hz tone ratio %.1f dB (worst of %d windows)\n",
                frames.size(), track, found, double(found) / kRate, gaps, firstSecond, lastSecond,
                tone, windows == 0 ? 0.0 : worstDb, windows);

    if (found == 0)
        return fail("no audio of the track in the recording");
    if (firstSecond != 0)
        return fail("the track's audio does not start at its beginning");
    if (!countsUp)
        return fail("the track's seconds do not count up one by one");
    if (found < kRate)
        return fail("less than 1 s of the track's audio");
    if (windows == 0)
        return fail("no unbroken 0.1 s of the track to analyse");
    if (worstDb < kMinRatioDb)
        return fail("the track's tone does not dominate its neighbours' tones");
    std::puts("e2e_tone: OK");
    return 0;
}

// bench_lyriclatency WINDOW HEARD MARK LINES: how late each lyric line is drawn in the current-line
// colour after its second is heard. Watches the view's current-line row (row 8, pure red text)
// every millisecond; each time the red text changes, a new line has become current, and the
// recording of what the sound server played (HEARD, 44.1 kHz 16-bit stereo, growing) tells how
// much had been heard then. Each second of a test track is marked in its right channel (track ×
// 256 + second), so the recording after byte MARK tells where each second of track 1 began to be
// heard, whatever gaps the sound had. Prints, for lines 1 … LINES tagged [00:01], [00:03],
// [00:05] … on, the milliseconds between the start of the line's second in the recording and its
// turning red. Every other second: a line tagged the second after another's is matched a tick
// later, as the tick that moves on from the line before does not compare.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace {

constexpr int kRowX = 0, kRowY = 40 + 18 * 7, kRowW = 577, kRowH = 18;
constexpr long kBytesPerSecond = 44100 * 4;

// The right-most x of red text in the row, or -1.
int redExtent(Display* display, Window window)
{
    XImage* image = XGetImage(display, window, kRowX, kRowY, kRowW, kRowH, AllPlanes, ZPixmap);
    if (image == nullptr)
        return -1;
    int right = -1;
    for (int y = 0; y < kRowH; ++y) {
        for (int x = right + 1; x < kRowW; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            if ((pixel >> 16 & 0xFF) > 0x40 && (pixel >> 8 & 0xFF) < 0x20 && (pixel & 0xFF) < 0x20)
                right = x;
        }
    }
    XDestroyImage(image);
    return right;
}

long fileSize(const char* path)
{
    struct stat info {};
    return stat(path, &info) == 0 ? long(info.st_size) : 0;
}

// Where each second of track 1 begins in the recording after `mark`; -1 for one never heard.
std::vector<long> secondStarts(const char* path, long mark, int seconds)
{
    std::vector<long> starts(std::size_t(seconds) + 1, -1);
    std::ifstream file(path, std::ios::binary);
    file.seekg(mark);
    unsigned char frame[4];
    for (long at = mark; file.read(reinterpret_cast<char*>(frame), 4); at += 4) {
        const int second = (frame[2] | frame[3] << 8) - 256;
        if (second >= 0 && second <= seconds && starts[std::size_t(second)] < 0)
            starts[std::size_t(second)] = at;
    }
    return starts;
}

} // namespace

int main(int argc, char* argv[])
{
    Display* display = argc == 5 ? XOpenDisplay(nullptr) : nullptr;
    if (display == nullptr) {
        std::fputs("usage: bench_lyriclatency WINDOW HEARD MARK LINES, on an X display\n", stderr);
        return 2;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const char* heard = argv[2];
    const long mark = std::atol(argv[3]);
    const int lines = std::atoi(argv[4]);
    std::vector<long> heardAt; // bytes heard when each line turned red
    int last = redExtent(display, window);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2 * lines + 30);
    while (int(heardAt.size()) < lines && std::chrono::steady_clock::now() < deadline) {
        const int extent = redExtent(display, window);
        if (extent != last && extent >= 0)
            heardAt.push_back(fileSize(heard));
        last = extent;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const std::vector<long> starts = secondStarts(heard, mark, 2 * lines);
    if (int(heardAt.size()) < lines) {
        std::fprintf(stderr, "bench_lyriclatency: %zu of %d lines turned red\n", heardAt.size(),
                     lines);
        return 1;
    }
    for (int line = 1; line <= lines; ++line) {
        const long start = starts[std::size_t(2 * line - 1)];
        if (start < 0) {
            std::fprintf(stderr, "bench_lyriclatency: second %d was never heard\n", 2 * line - 1);
            return 1;
        }
        std::printf("%ld\n", (heardAt[std::size_t(line) - 1] - start) * 1000 / kBytesPerSecond);
    }
    XCloseDisplay(display);
    return 0;
}

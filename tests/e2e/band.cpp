// band WINDOW X Y W H RRGGBB: the right-most x in that rectangle of the window whose pixel shows
// the colour at any strength (antialiased text shows it dimmed), or -1 if none.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    Display* display = argc == 7 ? XOpenDisplay(nullptr) : nullptr;
    if (display == nullptr) {
        std::fputs("usage: band WINDOW X Y W H RRGGBB, on an X display\n", stderr);
        return 2;
    }
    const auto channels = [](unsigned long pixel) {
        return std::array{int(pixel >> 16 & 0xFF), int(pixel >> 8 & 0xFF), int(pixel & 0xFF)};
    };
    const int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
    const int w = std::atoi(argv[4]), h = std::atoi(argv[5]);
    const auto colour = channels(std::strtoul(argv[6], nullptr, 16));
    const int peak = std::max(1, std::ranges::max(colour));
    XImage* image = XGetImage(display, std::strtoul(argv[1], nullptr, 0), x, y, unsigned(w),
                              unsigned(h), AllPlanes, ZPixmap);
    if (image == nullptr || image->red_mask != 0xFF0000 || image->blue_mask != 0xFF)
        return 1;
    int right = -1;
    for (int row = 0; row < h; ++row) {
        for (int col = right + 1; col < w; ++col) {
            const auto pixel = channels(XGetPixel(image, col, row));
            const int strength = std::ranges::max(pixel);
            const auto near = [&](int p, int c) { return std::abs(p - c * strength / peak) <= 24; };
            if (strength * 4 >= peak && std::ranges::equal(pixel, colour, near))
                right = col;
        }
    }
    XDestroyImage(image);
    XCloseDisplay(display);
    std::printf("%d\n", right < 0 ? -1 : x + right);
}

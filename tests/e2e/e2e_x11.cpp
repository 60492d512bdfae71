// e2e_x11: what the tests need from X that xdotool lacks, since Xvfb has no window manager.
//   close WINDOW              asks the window to close as a window manager's close button does
//   band WINDOW X Y W H RGB   prints the right-most x in that rectangle of the window whose pixel
//                             shows colour RGB (hex RRGGBB) at any strength, or -1 if none
// The scripts pass well-formed numbers; a bad window or rectangle makes X refuse the request.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

using Rgb = std::array<int, 3>;

[[noreturn]] void fail(const char* reason)
{
    std::fprintf(stderr, "e2e_x11: FAIL: %s\n", reason);
    std::exit(1);
}

Rgb channels(unsigned long pixel)
{
    return {int(pixel >> 16 & 0xFF), int(pixel >> 8 & 0xFF), int(pixel & 0xFF)};
}

void closeWindow(Display* display, Window window)
{
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    // A window manager only sends the message to windows that ask for it.
    Atom* protocols = nullptr;
    int count = 0;
    XGetWMProtocols(display, window, &protocols, &count);
    if (std::find(protocols, protocols + count, deleteWindow) == protocols + count)
        fail("the window does not list WM_DELETE_WINDOW in WM_PROTOCOLS");
    XFree(protocols);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(deleteWindow); // l[1], the time, stays CurrentTime
    XSendEvent(display, window, False, NoEventMask, &event);
}

// Text is antialiased over the background, so its edges show the colour dimmed: a pixel matches
// when it is the colour scaled down to at least a quarter, give or take a little rounding.
bool shows(const Rgb& pixel, const Rgb& colour)
{
    const int peak = std::ranges::max(colour);
    const int strength = std::ranges::max(pixel);
    const auto near = [&](int p, int c) { return std::abs(p - c * strength / peak) <= 24; };
    return strength * 4 >= peak && std::ranges::equal(pixel, colour, near);
}

void band(Display* display, Window window, char* arg[])
{
    const int x = std::atoi(arg[0]), y = std::atoi(arg[1]);
    const int w = std::atoi(arg[2]), h = std::atoi(arg[3]);
    const Rgb colour = channels(std::strtoul(arg[4], nullptr, 16));
    if (std::ranges::max(colour) == 0)
        fail("black cannot be told from the background");
    XImage* image = XGetImage(display, window, x, y, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
    if (image == nullptr || image->red_mask != 0xFF0000 || image->green_mask != 0xFF00 ||
        image->blue_mask != 0xFF)
        fail("cannot read the window's pixels as 24-bit RGB");
    int right = -1;
    for (int row = 0; row < h; ++row) {
        for (int col = right + 1; col < w; ++col) {
            if (shows(channels(XGetPixel(image, col, row)), colour))
                right = col;
        }
    }
    XDestroyImage(image);
    std::printf("%d\n", right < 0 ? -1 : x + right);
}

} // namespace

int main(int argc, char* argv[])
{
    const std::string_view command = argc > 1 ? argv[1] : "";
    const bool isClose = command == "close" && argc == 3;
    if (!isClose && !(command == "band" && argc == 8)) {
        std::fputs("usage: e2e_x11 close WINDOW | e2e_x11 band WINDOW X Y W H RRGGBB\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        fail("cannot open the X display");
    const Window window = std::strtoul(argv[2], nullptr, 0);
    isClose ? closeWindow(display, window) : band(display, window, argv + 3);
    // This waits for X to take every request; an error it reports ends us through Xlib's handler.
    XCloseDisplay(display);
}

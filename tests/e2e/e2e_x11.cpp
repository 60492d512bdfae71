// e2e_x11: what the tests need from X that xdotool lacks, since Xvfb has no window manager.
//   close WINDOW              asks the window to close as a window manager's close button does
//   band WINDOW X Y W H RGB   prints the right-most x in that rectangle of the window whose pixel
//                             shows colour RGB (hex RRGGBB) at any strength, or -1 if none

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int fail(const char* reason)
{
    std::fprintf(stderr, "e2e_x11: FAIL: %s\n", reason);
    return 1;
}

int closeWindow(Display* display, Window window)
{
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    // A window manager only sends the message to windows that ask for it.
    Atom* advertised = nullptr;
    int count = 0;
    bool takesDelete = false;
    if (XGetWMProtocols(display, window, &advertised, &count) != 0) {
        for (int i = 0; i < count; ++i)
            takesDelete = takesDelete || advertised[i] == deleteWindow;
        XFree(advertised);
    }
    if (!takesDelete)
        return fail("the window does not list WM_DELETE_WINDOW in WM_PROTOCOLS");

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(deleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    if (XSendEvent(display, window, False, NoEventMask, &event) == 0)
        return fail("cannot send the close message");
    XSync(display, False);
    return 0;
}

// Text is antialiased over the background, so its edges show the colour dimmed: a pixel matches
// when it is the colour scaled down to at least a quarter, give or take a little rounding.
bool shows(unsigned long pixel, const int colour[3])
{
    const int p[3] = {int(pixel >> 16 & 0xFF), int(pixel >> 8 & 0xFF), int(pixel & 0xFF)};
    const int peak = std::max({colour[0], colour[1], colour[2]});
    const int strength = std::max({p[0], p[1], p[2]});
    if (strength * 4 < peak)
        return false;
    for (int i = 0; i < 3; ++i) {
        if (std::abs(p[i] - colour[i] * strength / peak) > 24)
            return false;
    }
    return true;
}

int band(Display* display, Window window, const int box[4], unsigned long rgb)
{
    const int colour[3] = {int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF)};
    if (rgb == 0)
        return fail("black cannot be told from the background");
    XImage* image = XGetImage(display, window, box[0], box[1], unsigned(box[2]), unsigned(box[3]),
                              AllPlanes, ZPixmap);
    if (image == nullptr)
        return fail("cannot read the window's pixels");
    if (image->red_mask != 0xFF0000 || image->green_mask != 0xFF00 || image->blue_mask != 0xFF) {
        XDestroyImage(image);
        return fail("the screen is not 24-bit RGB");
    }
    int right = -1;
    for (int y = 0; y < box[3]; ++y) {
        for (int x = right + 1; x < box[2]; ++x) {
            if (shows(XGetPixel(image, x, y), colour))
                right = x;
        }
    }
    XDestroyImage(image);
    std::printf("%d\n", right < 0 ? -1 : box[0] + right);
    return 0;
}

unsigned long number(const char* text, int base, bool& ok)
{
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, base);
    ok = ok && *text != '\0' && *end == '\0';
    return value;
}

} // namespace

int main(int argc, char* argv[])
{
    bool ok = argc >= 3;
    const bool isClose = ok && std::strcmp(argv[1], "close") == 0 && argc == 3;
    const bool isBand = ok && std::strcmp(argv[1], "band") == 0 && argc == 8;
    const Window window = ok ? number(argv[2], 0, ok) : 0;
    if (!ok || window == 0 || !(isClose || isBand)) {
        std::fputs("usage: e2e_x11 close WINDOW | e2e_x11 band WINDOW X Y W H RRGGBB\n", stderr);
        return 2;
    }
    int box[4] = {};
    for (int i = 0; isBand && i < 4; ++i)
        box[i] = int(number(argv[i + 3], 10, ok));
    const unsigned long rgb = isBand ? number(argv[7], 16, ok) : 0;
    if (!ok || (isBand && (box[2] <= 0 || box[3] <= 0)))
        return fail("bad number");
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return fail("cannot open the X display");
    const int status = isClose ? closeWindow(display, window) : band(display, window, box, rgb);
    XCloseDisplay(display);
    return status;
}

// e2e_close_window: asks a window to close the way a window manager's close button does, since
// the tests run under Xvfb with no window manager to do it.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdio>
#include <cstdlib>

namespace {

int fail(const char* reason)
{
    std::fprintf(stderr, "e2e_close_window: FAIL: %s\n", reason);
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    char* end = nullptr;
    const Window window = argc == 2 ? std::strtoul(argv[1], &end, 0) : 0;
    if (window == 0 || *end != '\0') {
        std::fputs("usage: e2e_close_window WINDOW_ID  (decimal, or hex with 0x)\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return fail("cannot open the X display");

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
    if (!takesDelete) {
        XCloseDisplay(display);
        return fail("the window does not list WM_DELETE_WINDOW in WM_PROTOCOLS");
    }

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(deleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    if (XSendEvent(display, window, False, NoEventMask, &event) == 0) {
        XCloseDisplay(display);
        return fail("cannot send the close message");
    }
    XFlush(display);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}

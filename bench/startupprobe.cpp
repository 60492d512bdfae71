// Measures a program's start-up the way a user sees it: from starting the process to its first
// top-level window being mapped on the X display, and the process's peak memory at that moment.
// Prints "<milliseconds> <peak KiB>" and kills the program.
//
//   startupprobe PROGRAM [ARG...]

#include <X11/Xlib.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

// VmHWM, the peak resident set, from /proc; 0 when it cannot be read.
long peakKib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fputs("usage: startupprobe PROGRAM [ARG...]\n", stderr);
        return 2;
    }
    const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display) {
        std::fputs("startupprobe: no X display\n", stderr);
        return 1;
    }
    const Window root = DefaultRootWindow(display.get());
    XSelectInput(display.get(), root, SubstructureNotifyMask);
    XSync(display.get(), False);

    const auto started = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[1], nullptr, nullptr, argv + 1, environ) != 0) {
        std::perror("startupprobe");
        return 1;
    }
    for (XEvent event;;) {
        XNextEvent(display.get(), &event);
        if (event.type == MapNotify && !event.xmap.override_redirect)
            break;
    }
    const auto shown = std::chrono::steady_clock::now();
    const long peak = peakKib(pid);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);

    std::printf("%.1f %ld\n", std::chrono::duration<double, std::milli>(shown - started).count(),
                peak);
    return 0;
}

// Preview figures, on the current X display: the time from `Quorlane.scr /p <id>` to the
// still covering the host, the preview's resident memory and its CPU and wake-ups while
// idle, and the time from the host's destruction to the preview's exit.
// Usage: preview_bench QUORLANE_SCR [LAUNCHES] [IDLE_SECONDS]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/process_figures.h"
#include "common/x11/x_errors.h"

extern char** environ;

namespace {

using quorlane::bench::cpuTicks;
using quorlane::bench::median;
using quorlane::bench::statusField;

using Clock = std::chrono::steady_clock;
constexpr unsigned long kRed = 0xff0000;  // no pixel of the still is pure red
constexpr unsigned kWidth = 152, kHeight = 112;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool hostCovered(Display* display, Window host) {
    XImage* image = XGetImage(display, host, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    bool covered = true;
    for (unsigned y = 0; y < kHeight && covered; ++y) {
        for (unsigned x = 0; x < kWidth && covered; ++x) {
            covered =
                (XGetPixel(image, static_cast<int>(x), static_cast<int>(y)) & 0xffffff) != kRed;
        }
    }
    XDestroyImage(image);
    return covered;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s QUORLANE_SCR [LAUNCHES] [IDLE_SECONDS]\n", argv[0]);
        return 2;
    }
    const std::string program = argv[1];
    const int launches = argc > 2 ? std::atoi(argv[2]) : 10;
    const int idleSeconds = argc > 3 ? std::atoi(argv[3]) : 10;
    quorlane::ignoreXErrorsFromNowOn();
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 1;

    std::vector<double> painted, ended;
    for (int launch = 0; launch < launches; ++launch) {
        const Window host = XCreateSimpleWindow(display, DefaultRootWindow(display), 100, 100,
                                                kWidth, kHeight, 0, 0, kRed);
        XMapWindow(display, host);
        XSync(display, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const std::string id = std::to_string(host);
        char* args[] = {const_cast<char*>(program.c_str()), const_cast<char*>("/p"),
                        const_cast<char*>(id.c_str()), nullptr};
        const auto start = Clock::now();
        pid_t pid = -1;
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, args, environ) != 0) return 1;
        while (!hostCovered(display, host) && msSince(start) < 10000) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        painted.push_back(msSince(start));

        if (launch == 0) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            const long ticksBefore = cpuTicks(pid);
            const long wakeupsBefore = statusField(pid, "voluntary_ctxt_switches") +
                                       statusField(pid, "nonvoluntary_ctxt_switches");
            std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
            const long ticks = cpuTicks(pid) - ticksBefore;
            const long wakeups = statusField(pid, "voluntary_ctxt_switches") +
                                 statusField(pid, "nonvoluntary_ctxt_switches") - wakeupsBefore;
            std::printf("preview idle over %d s: CPU %.2f%% of a core, %ld wake-ups (target 0%%)\n",
                        idleSeconds, 100.0 * ticks / sysconf(_SC_CLK_TCK) / idleSeconds, wakeups);
            std::printf("preview resident memory: %.1f MB (VmRSS; target < 40 MB), peak %.1f MB\n",
                        statusField(pid, "VmRSS") / 1024.0, statusField(pid, "VmHWM") / 1024.0);
        }

        const auto destroyed = Clock::now();
        XDestroyWindow(display, host);
        XSync(display, False);
        waitpid(pid, nullptr, 0);
        ended.push_back(msSince(destroyed));
    }
    std::printf("/p <id> to the still in the host (ms):");
    for (double v : painted) std::printf(" %.0f", v);
    std::printf("  median %.0f (target < 150)\n", median(painted));
    std::printf("host destroyed to preview exit (ms):");
    for (double v : ended) std::printf(" %.0f", v);
    std::printf("  median %.0f (target < 500)\n", median(ended));
    XCloseDisplay(display);
    return 0;
}

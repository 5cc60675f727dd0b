// Settings dialog figures, on the current X display with openbox running: the time from
// `Quorlane.scr /c` to the dialog painted on the screen (its zoom included), and the open
// dialog's CPU while idle and its resident memory.
// Usage: dialog_bench QUORLANE_SCR [LAUNCHES] [IDLE_SECONDS]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/process_figures.h"

extern char** environ;

namespace {

using quorlane::bench::cpuTicks;
using quorlane::bench::median;
using quorlane::bench::statusField;

using Clock = std::chrono::steady_clock;
// On 1920 x 1080 with openbox's frame (1, 1, 20, 1) the client area starts at (765, 273).
constexpr int kClientX = 765, kClientY = 273;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

unsigned long rootPixel(Display* display, int x, int y) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return 0;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xffffff;
    XDestroyImage(image);
    return pixel;
}

// The gradient in the left margin at mid height and near the bottom, and the white preview
// box: all three only once the whole dialog has been painted.
bool dialogPainted(Display* display) {
    return rootPixel(display, kClientX + 5, kClientY + 150) == 0xFADCFA &&
           rootPixel(display, kClientX + 5, kClientY + 250) == 0x8A6C8A &&
           rootPixel(display, kClientX + 12 + 272 + 40, kClientY + 12 + 8 + 40) == 0xFFFFFF;
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
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 1;

    std::vector<double> painted;
    for (int launch = 0; launch < launches; ++launch) {
        char* args[] = {const_cast<char*>(program.c_str()), const_cast<char*>("/c"), nullptr};
        const auto start = Clock::now();
        pid_t pid = -1;
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, args, environ) != 0) return 1;
        while (!dialogPainted(display) && msSince(start) < 10000) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        painted.push_back(msSince(start));

        if (launch == 0) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            const long before = cpuTicks(pid);
            std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
            const long ticks = cpuTicks(pid) - before;
            std::printf("dialog idle over %d s: CPU %.2f%% of a core (target < 0.5%%)\n",
                        idleSeconds, 100.0 * ticks / sysconf(_SC_CLK_TCK) / idleSeconds);
            std::printf("dialog resident memory: %.1f MB (VmRSS; target < 60 MB), peak %.1f MB\n",
                        statusField(pid, "VmRSS") / 1024.0, statusField(pid, "VmHWM") / 1024.0);
        }
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        // The next start must not find this dialog's window still there.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    std::printf("/c to the dialog painted on screen (ms):");
    for (double v : painted) std::printf(" %.0f", v);
    std::printf("  median %.0f (target < 400)\n", median(painted));
    XCloseDisplay(display);
    return 0;
}

// The desktop capture of a Wayland session, each way alone: the compositor's screen copy, and
// the desktop portal's screenshot with its file read and decoded. Prints the median of each in
// milliseconds. Run inside the session (bench/wayland.sh does).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "shell/core/file_uri.h"
#include "shell/platform/wayland/portal_screenshot.h"
#include "shell/platform/wayland/screenshot_file.h"
#include "shell/platform/wayland/wayland_screencopy.h"

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> v) {
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main() {
    const int runs = std::getenv("RUNS") ? std::atoi(std::getenv("RUNS")) : 9;
    std::vector<double> copies, portals;
    quorlane::DecodedPicture picture;
    std::string why;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        if (quorlane::copyWaylandOutput(picture, why, std::chrono::seconds(5)) !=
            quorlane::ScreencopyOutcome::Captured) {
            std::fprintf(stderr, "screen copy: %s\n", why.c_str());
            break;
        }
        copies.push_back(msSince(start));
    }
    std::printf("screen copy: median %.1f ms over %zu (%dx%d)\n", median(copies), copies.size(),
                picture.width, picture.height);
    // The portal's first answer starts its backend: timed apart from the rest.
    double first = -1;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        const quorlane::PortalAnswer answer =
            quorlane::requestPortalScreenshot(false, std::chrono::seconds(20));
        const auto path = quorlane::localPathOfFileUri(answer.uri);
        if (answer.outcome != quorlane::PortalOutcome::Captured || !path ||
            !quorlane::takeScreenshotFile(*path, picture, why)) {
            std::fprintf(stderr, "portal: %s %s\n", answer.detail.c_str(), why.c_str());
            break;
        }
        (i == 0 ? first : portals.emplace_back()) = msSince(start);
    }
    std::printf(
        "portal screenshot, file read and decoded: first %.1f ms, then median %.1f ms "
        "over %zu (%dx%d)\n",
        first, median(portals), portals.size(), picture.width, picture.height);
    return 0;
}

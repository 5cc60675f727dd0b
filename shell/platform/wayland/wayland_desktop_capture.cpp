#include "shell/platform/wayland/wayland_desktop_capture.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "shell/core/file_uri.h"
#include "shell/core/screenshot_region.h"
#include "shell/core/wayland_capture_outcome.h"
#include "shell/platform/wayland/portal_screenshot.h"
#include "shell/platform/wayland/screenshot_file.h"
#include "shell/platform/wayland/screenshot_permission_store.h"
#include "shell/platform/wayland/wayland_outputs.h"
#include "shell/platform/wayland/wayland_screencopy.h"

namespace quorlane {

namespace {

// A compositor copies an output in milliseconds; the portal starts its backend on first use,
// which took up to 1.5 s in a fresh session. Beyond these the show goes on without.
constexpr std::chrono::milliseconds kScreencopyLimit{3000};
constexpr std::chrono::milliseconds kPortalLimit{10000};
// Long enough for the user to read and answer the desktop's question.
constexpr std::chrono::milliseconds kPermissionLimit{300000};

std::string_view currentDesktops() {
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    return desktops != nullptr ? desktops : "";
}

// Asks the portal and reads the picture it names.
PortalOutcome portalPicture(bool interactive, std::chrono::milliseconds limit,
                            DecodedPicture& picture, std::string& detail) {
    PortalAnswer answer = requestPortalScreenshot(interactive, limit);
    if (answer.outcome != PortalOutcome::Captured) {
        detail = answer.detail;
        return answer.outcome;
    }
    const auto path = localPathOfFileUri(answer.uri);
    if (!path) {
        detail = "the portal named " + answer.uri + ", not a local file";
        return PortalOutcome::Failed;
    }
    return takeScreenshotFile(*path, picture, detail) ? PortalOutcome::Captured
                                                      : PortalOutcome::Failed;
}

// The portal's picture shows every output; the show keeps the one at the layout's origin.
void keepPrimaryOutput(DecodedPicture& picture) {
    std::vector<MonitorRect> outputs;
    MonitorRect primary;
    if (!waylandLayout(outputs, primary) || outputs.size() < 2) return;
    const auto region = outputRegionInScreenshot(outputs, primary, picture.width, picture.height);
    if (!region || (region->width == picture.width && region->height == picture.height)) return;
    std::vector<uint32_t> kept(static_cast<std::size_t>(region->width) * region->height);
    for (int y = 0; y < region->height; ++y) {
        const uint32_t* from = picture.pixels.data() +
                               static_cast<std::size_t>(region->y + y) * picture.width + region->x;
        std::copy(from, from + region->width,
                  kept.data() + static_cast<std::size_t>(y) * region->width);
    }
    picture.pixels = std::move(kept);
    picture.width = region->width;
    picture.height = region->height;
}

}  // namespace

bool captureWaylandDesktop(DecodedPicture& picture, std::string& failureLine) {
    std::string copyDetail;
    const ScreencopyOutcome copy = copyWaylandOutput(picture, copyDetail, kScreencopyLimit);
    if (copy == ScreencopyOutcome::Captured) return true;
    std::string portalDetail;
    const PortalOutcome portal =
        screenshotNeedsTheUsersAnswer(currentDesktops(), lookUpScreenshotPermission())
            ? PortalOutcome::NotAllowed
            : portalPicture(false, kPortalLimit, picture, portalDetail);
    if (portal == PortalOutcome::Captured) {
        keepPrimaryOutput(picture);
        return true;
    }
    // Without a portal, what the screen copy said is the more telling.
    const bool noPortal = portal == PortalOutcome::NoBus || portal == PortalOutcome::NoPortal;
    failureLine = waylandCaptureFailureLine(
        copy, portal, noPortal && copy == ScreencopyOutcome::Failed ? copyDetail : portalDetail,
        currentDesktops());
    return false;
}

bool askScreenshotPermission(std::string& why) {
    const StoredScreenshotPermission stored = lookUpScreenshotPermission();
    if (!screenshotNeedsTheUsersAnswer(currentDesktops(), stored)) return true;
    // The user has just chosen the desktop picture: a no given before is asked again.
    if (stored == StoredScreenshotPermission::Denied && !forgetScreenshotRefusal()) {
        why = "the desktop's stored refusal could not be cleared";
        return false;
    }
    // The desktop asks its question before this first screenshot, and stores the answer.
    DecodedPicture unused;
    return portalPicture(false, kPermissionLimit, unused, why) == PortalOutcome::Captured;
}

}  // namespace quorlane

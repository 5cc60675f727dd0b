#include "shell/platform/wayland/wayland_desktop_capture.h"

#include <chrono>

#include "shell/core/file_uri.h"
#include "shell/core/wayland_capture_outcome.h"
#include "shell/platform/wayland/portal_screenshot.h"
#include "shell/platform/wayland/screenshot_file.h"
#include "shell/platform/wayland/wayland_screencopy.h"

namespace quorlane {

namespace {

// A compositor copies an output in milliseconds; the portal starts its backend on first use,
// which took up to 1.5 s in a fresh session. Beyond these the show goes on without.
constexpr std::chrono::milliseconds kScreencopyLimit{3000};
constexpr std::chrono::milliseconds kPortalLimit{10000};
// Long enough for the user to read and answer the desktop's question.
constexpr std::chrono::milliseconds kPermissionLimit{300000};

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

}  // namespace

bool captureWaylandDesktop(DecodedPicture& picture, std::string& failureLine) {
    std::string copyDetail;
    const ScreencopyOutcome copy = copyWaylandOutput(picture, copyDetail, kScreencopyLimit);
    if (copy == ScreencopyOutcome::Captured) return true;
    std::string portalDetail;
    const PortalOutcome portal = portalPicture(false, kPortalLimit, picture, portalDetail);
    if (portal == PortalOutcome::Captured) return true;
    // Without a portal, what the screen copy said is the more telling.
    const bool noPortal = portal == PortalOutcome::NoBus || portal == PortalOutcome::NoPortal;
    failureLine = waylandCaptureFailureLine(
        copy, portal, noPortal && copy == ScreencopyOutcome::Failed ? copyDetail : portalDetail);
    return false;
}

bool askScreenshotPermission(std::string& why) {
    DecodedPicture unused;
    return portalPicture(false, kPermissionLimit, unused, why) == PortalOutcome::Captured;
}

}  // namespace quorlane

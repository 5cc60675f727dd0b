#include "shell/core/wayland_capture_outcome.h"

#include "shell/core/screenshot_permission.h"

namespace quorlane {

namespace {

constexpr std::string_view kChoosePicture =
    "choose a picture in the settings dialog (quorlane --settings)";

}  // namespace

std::string waylandCaptureFailureLine(ScreencopyOutcome screencopy, PortalOutcome portal,
                                      std::string_view detail, std::string_view currentDesktops) {
    std::string line = "Quorlane.scr: no picture of the Wayland desktop: ";
    switch (portal) {
    case PortalOutcome::Refused:
        line += "the desktop portal refused the screenshot; ";
        // Elsewhere the dialog asks nothing, so saving it would change nothing.
        if (desktopAsksBeforeScreenshots(currentDesktops)) {
            line +=
                "allow it once by saving the settings dialog (quorlane --settings) with the "
                "desktop picture chosen, or ";
        }
        line += kChoosePicture;
        return line;
    case PortalOutcome::NotAllowed:
        line +=
            "the desktop has not allowed screenshots without asking, and a show cannot ask; "
            "allow them once by saving the settings dialog (quorlane --settings) with the "
            "desktop picture chosen, or ";
        line += kChoosePicture;
        return line;
    case PortalOutcome::NoBus:
    case PortalOutcome::NoPortal:
        line += screencopy == ScreencopyOutcome::Failed ? "the compositor's screen copy failed"
                                                        : "the compositor offers no screen copy";
        line += portal == PortalOutcome::NoBus ? " and there is no session bus"
                                               : " and no desktop portal takes screenshots";
        if (!detail.empty()) line += " (" + std::string(detail) + ")";
        line +=
            "; install the portal for your desktop (xdg-desktop-portal with "
            "xdg-desktop-portal-gnome, -kde, or -wlr and -gtk), or ";
        line += kChoosePicture;
        return line;
    case PortalOutcome::Failed:
    case PortalOutcome::Captured: break;
    }
    line += "the desktop portal's screenshot failed";
    if (!detail.empty()) line += " (" + std::string(detail) + ")";
    line += "; ";
    line += kChoosePicture;
    return line;
}

}  // namespace quorlane

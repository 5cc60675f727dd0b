#include "shell/core/wayland_capture_outcome.h"

namespace quorlane {

namespace {

constexpr std::string_view kChoosePicture =
    "or choose a picture in the settings dialog (quorlane --settings)";

}  // namespace

std::string waylandCaptureFailureLine(ScreencopyOutcome screencopy, PortalOutcome portal,
                                      std::string_view detail) {
    std::string line = "Quorlane.scr: no picture of the Wayland desktop: ";
    switch (portal) {
    case PortalOutcome::Refused:
        line +=
            "the desktop portal refused the screenshot; allow it once by saving the settings "
            "dialog (quorlane --settings) with the desktop picture chosen, ";
        line += kChoosePicture;
        return line;
    case PortalOutcome::NotAllowed:
        line +=
            "the desktop has not allowed screenshots without asking, and a show cannot ask; "
            "allow them once by saving the settings dialog (quorlane --settings) with the "
            "desktop picture chosen, ";
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
            "xdg-desktop-portal-gnome, -kde, or -wlr and -gtk), ";
        line += kChoosePicture;
        return line;
    case PortalOutcome::Failed:
    case PortalOutcome::Captured: break;
    }
    line += "the desktop portal's screenshot failed";
    if (!detail.empty()) line += " (" + std::string(detail) + ")";
    line += "; choose a picture in the settings dialog (quorlane --settings)";
    return line;
}

}  // namespace quorlane

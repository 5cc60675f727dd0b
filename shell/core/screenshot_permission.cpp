#include "shell/core/screenshot_permission.h"

#include "common/ascii_case.h"

namespace quorlane {

bool desktopAsksBeforeScreenshots(std::string_view currentDesktops) {
    while (!currentDesktops.empty()) {
        const auto colon = currentDesktops.find(':');
        const std::string_view name = currentDesktops.substr(0, colon);
        // Ubuntu's session names itself "ubuntu:GNOME"; GNOME's own portal answers in both.
        if (asciiEqualIgnoringCase(name, "GNOME")) return true;
        if (colon == std::string_view::npos) break;
        currentDesktops.remove_prefix(colon + 1);
    }
    return false;
}

bool screenshotNeedsTheUsersAnswer(std::string_view currentDesktops,
                                   StoredScreenshotPermission stored) {
    return desktopAsksBeforeScreenshots(currentDesktops) &&
           stored != StoredScreenshotPermission::Allowed;
}

}  // namespace quorlane

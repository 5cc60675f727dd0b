#pragma once
// Whether a show inside a screensaver framework may show the desktop, as XScreenSaver's own
// programs decide it: its setting grabDesktopImages ("Grab Desktop Images"), read from the
// user's ~/.xscreensaver, else from the system's defaults (the app-defaults file, whose
// Debian copy switches it off), else on, XScreenSaver's own default.
#include <optional>
#include <string>

namespace quorlane {

// The setting in one of those files' text, nothing when the file does not set it. The user's
// file spells it "grabDesktopImages: False", the app-defaults file "*grabDesktopImages: False"
// (or with a program name before the dot); the value is an X resource's boolean in any case.
std::optional<bool> grabDesktopImagesIn(const std::string& text);

// The user's file comes first, then the system's; either may be missing (nothing).
bool desktopGrabAllowed(const std::optional<std::string>& userFile,
                        const std::optional<std::string>& systemDefaults);

}  // namespace quorlane

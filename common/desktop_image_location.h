#pragma once
// Where the shell saves the desktop picture and the renderer reads it back.
// Both programs call this, so they always agree on the place.
#include <string>

namespace quorlane {

struct DesktopImageLocation {
    std::string folder;  // created by the shell, mode 0700
    std::string file;    // folder + "/Torvane.bmp"
};

// The rule itself, on explicit environment values (null or empty = unset):
// $XDG_RUNTIME_DIR/orvask, else ${XDG_CACHE_HOME:-$HOME/.cache}/orvask.
// Relative values are ignored, as the XDG rules say. With nothing usable at all,
// /tmp/orvask-<uid> keeps the picture private to the user.
DesktopImageLocation desktopImageLocation(const char* runtimeDir, const char* cacheHome,
                                          const char* home, unsigned uid);

// The same rule on this process's environment.
DesktopImageLocation desktopImageLocation();

}  // namespace quorlane

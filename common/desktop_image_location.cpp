#include "common/desktop_image_location.h"

#include <cstdlib>
#include <unistd.h>

#include "common/file_path.h"

namespace quorlane {

namespace {

bool usable(const char* dir) { return dir != nullptr && dir[0] == '/'; }

DesktopImageLocation inFolder(std::string folder) {
    DesktopImageLocation location;
    location.file = folder + "/Torvane.bmp";
    location.folder = std::move(folder);
    return location;
}

}  // namespace

DesktopImageLocation desktopImageLocation(const char* runtimeDir, const char* cacheHome,
                                          const char* home, unsigned uid) {
    if (usable(runtimeDir)) return inFolder(joinedPath(runtimeDir, "orvask"));
    if (usable(cacheHome)) return inFolder(joinedPath(cacheHome, "orvask"));
    if (usable(home)) return inFolder(joinedPath(joinedPath(home, ".cache"), "orvask"));
    return inFolder("/tmp/orvask-" + std::to_string(uid));
}

DesktopImageLocation desktopImageLocation() {
    return desktopImageLocation(std::getenv("XDG_RUNTIME_DIR"), std::getenv("XDG_CACHE_HOME"),
                                std::getenv("HOME"), static_cast<unsigned>(getuid()));
}

}  // namespace quorlane

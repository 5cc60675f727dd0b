#include "shell/settings/settings_location.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "common/file_path.h"
#include "shell/settings/settings_file.h"

namespace quorlane {

namespace {

bool usable(const char* dir) { return dir != nullptr && dir[0] == '/'; }

}  // namespace

std::string settingsFolder(const std::string& programFolder, const char* configHome,
                           const char* home) {
    struct stat info {};
    const bool fileBeside = ::stat(settingsFilePath(programFolder).c_str(), &info) == 0;
    // A new file is written beside the old one and renamed over it, so it is the folder that
    // must be writable, not the file.
    if (fileBeside || ::access(programFolder.c_str(), W_OK | X_OK) == 0) return programFolder;

    std::string own;
    if (usable(configHome)) {
        own = joinedPath(configHome, "quorlane");
    } else if (usable(home)) {
        own = joinedPath(joinedPath(home, ".config"), "quorlane");
    } else {
        return programFolder;
    }
    // Made now, so that a save can land; if it cannot be made the settings stay unsaved, never
    // misplaced.
    std::error_code ignored;
    std::filesystem::create_directories(own, ignored);
    return own;
}

std::string settingsFolder(const std::string& programFolder) {
    return settingsFolder(programFolder, std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

}  // namespace quorlane

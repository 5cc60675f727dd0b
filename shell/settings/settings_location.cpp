#include "shell/settings/settings_location.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "common/account_home.h"
#include "common/file_path.h"
#include "shell/settings/settings_file.h"

namespace quorlane {

namespace {

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

}  // namespace

bool isInstalledCopy(const std::string& programFolder) {
    return exists(joinedPath(programFolder, kInstalledMarker));
}

std::string settingsFolder(const std::string& programFolder, const char* configHome,
                           const char* home) {
    if (!isInstalledCopy(programFolder)) {
        // A new file is written beside the old one and renamed over it, so it is the folder
        // that must be writable, not the file.
        if (exists(settingsFilePath(programFolder)) ||
            ::access(programFolder.c_str(), W_OK | X_OK) == 0) {
            return programFolder;
        }
    }

    // Made only by the settings dialog's save (SettingsDialog::save): a show or a dialog closed
    // unsaved leaves nothing behind.
    if (isAbsolutePath(configHome)) return joinedPath(configHome, "quorlane");
    if (isAbsolutePath(home)) return joinedPath(joinedPath(home, ".config"), "quorlane");
    return programFolder;
}

std::string settingsFolder(const std::string& programFolder) {
    const char* home = std::getenv("HOME");
    const std::string account = isAbsolutePath(home) ? std::string() : accountHome();
    return settingsFolder(programFolder, std::getenv("XDG_CONFIG_HOME"),
                          isAbsolutePath(home) ? home : account.c_str());
}

std::string settingsDefaultsFile(const std::string& programFolder) {
    return isInstalledCopy(programFolder) ? settingsFilePath(programFolder) : std::string();
}

}  // namespace quorlane

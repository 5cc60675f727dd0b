#include "common/desktop_image_location.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "common/account_home.h"
#include "common/file_path.h"

namespace quorlane {

std::vector<std::string> desktopImageFolders(const char* runtimeDir, const char* cacheHome,
                                             const char* home, const char* accountHome,
                                             unsigned uid) {
    std::vector<std::string> folders;
    if (isAbsolutePath(runtimeDir)) folders.push_back(joinedPath(runtimeDir, "orvask"));
    if (isAbsolutePath(cacheHome)) {
        folders.push_back(joinedPath(cacheHome, "orvask"));
    } else if (isAbsolutePath(home)) {
        folders.push_back(joinedPath(joinedPath(home, ".cache"), "orvask"));
    } else if (isAbsolutePath(accountHome) && std::string(accountHome) != "/") {
        folders.push_back(joinedPath(joinedPath(accountHome, ".cache"), "orvask"));
    }
    folders.push_back("/tmp/orvask-" + std::to_string(uid));
    return folders;
}

std::vector<std::string> desktopImageFolders() {
    const uid_t uid = geteuid();
    const char* home = std::getenv("HOME");
    // The password database is asked only when it is needed.
    const std::string account = isAbsolutePath(home) ? std::string() : accountHome();
    return desktopImageFolders(std::getenv("XDG_RUNTIME_DIR"), std::getenv("XDG_CACHE_HOME"), home,
                               account.c_str(), static_cast<unsigned>(uid));
}

bool isOwnFolder(const std::string& folder) {
    struct stat info {};
    return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid();
}

std::string findDesktopImageFile() {
    for (const std::string& folder : desktopImageFolders()) {
        if (isOwnFolder(folder)) return desktopImageFileIn(folder);
    }
    return {};
}

DesktopImageLocation desktopImageLocation(const char* runtimeDir, const char* cacheHome,
                                          const char* home, unsigned uid) {
    const std::string folder =
        desktopImageFolders(runtimeDir, cacheHome, home, nullptr, uid).front();
    return {folder, desktopImageFileIn(folder)};
}

DesktopImageLocation desktopImageLocation() {
    const std::string folder = desktopImageFolders().front();
    return {folder, desktopImageFileIn(folder)};
}

}  // namespace quorlane

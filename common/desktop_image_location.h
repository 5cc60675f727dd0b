#pragma once
// Where the shell saves the desktop picture and the renderer reads it back.
// Both programs call this, so they always agree on the place.
#include <string>
#include <vector>

#include "common/file_path.h"

namespace quorlane {

struct DesktopImageLocation {
    std::string folder;  // created by the shell, mode 0700
    std::string file;    // folder + "/Torvane.bmp" ("\\Torvane.bmp" on Windows)
};

#ifdef _WIN32
// Windows: %LOCALAPPDATA%\orvask, private to the user (unlike a folder on the system drive,
// which every user of the machine shares). Empty when no such folder is known.
DesktopImageLocation desktopImageLocationIn(const char* localAppData);
#else
// The folders that may hold the picture, best first, on explicit environment values (null
// or empty = unset; relative values are ignored, as the XDG rules say):
// $XDG_RUNTIME_DIR/orvask, then ${XDG_CACHE_HOME:-$HOME/.cache}/orvask, where accountHome
// (the password database's) stands in for a missing $HOME, then /tmp/orvask-<uid>.
std::vector<std::string> desktopImageFolders(const char* runtimeDir, const char* cacheHome,
                                             const char* home, const char* accountHome,
                                             unsigned uid);
// The same list for this process's environment and user.
std::vector<std::string> desktopImageFolders();

#endif

// A folder may hold the picture only when it is a real folder (not a link to one) owned by
// this user: another user, or a link planted in a shared place, must never choose where the
// user's screen is written or what the renderer shows.
bool isOwnFolder(const std::string& folder);

// Where the renderer finds the picture: in the first folder of the list that is our own,
// the same one the shell chose when it saved. Empty when no folder qualifies.
std::string findDesktopImageFile();

#ifndef _WIN32
// The first place of the list, whatever is on disk.
DesktopImageLocation desktopImageLocation(const char* runtimeDir, const char* cacheHome,
                                          const char* home, unsigned uid);
#endif
DesktopImageLocation desktopImageLocation();

inline std::string desktopImageFileIn(const std::string& folder) {
    return folder + kPathSeparator + "Torvane.bmp";
}

}  // namespace quorlane

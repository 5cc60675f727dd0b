#include "common/desktop_image_location.h"

#include <windows.h>
// windows.h first: the shell folder header needs its types.
#include <shlobj.h>

#include <cstdlib>

namespace quorlane {

namespace {

// An absolute folder: a drive's ("C:\...") or a share's ("\\server\...").
bool usable(const char* dir) {
    if (dir == nullptr) return false;
    const bool drive = dir[0] != '\0' && dir[1] == ':' && (dir[2] == '\\' || dir[2] == '/');
    const bool share = dir[0] == '\\' && dir[1] == '\\';
    return drive || share;
}

std::string localAppData() {
    if (const char* fromEnvironment = std::getenv("LOCALAPPDATA"); usable(fromEnvironment))
        return fromEnvironment;
    // A process started with a cleared environment still has the user's profile.
    char folder[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) == S_OK)
        return folder;
    return {};
}

}  // namespace

DesktopImageLocation desktopImageLocationIn(const char* localAppData) {
    if (!usable(localAppData)) return {};
    const std::string folder = joinedPath(localAppData, "orvask");
    return {folder, desktopImageFileIn(folder)};
}

DesktopImageLocation desktopImageLocation() {
    return desktopImageLocationIn(localAppData().c_str());
}

bool isOwnFolder(const std::string& folder) {
    // The folder lies in the user's own profile; what is checked here is that it is a real
    // folder, not a junction or link planted to send the picture elsewhere.
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

std::string findDesktopImageFile() {
    const DesktopImageLocation location = desktopImageLocation();
    if (location.folder.empty() || !isOwnFolder(location.folder)) return {};
    return location.file;
}

}  // namespace quorlane

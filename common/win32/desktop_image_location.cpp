#include "common/desktop_image_location.h"

#include <windows.h>
// windows.h first: the shell folder header needs its types.
#include <shlobj.h>

#include "common/file_path.h"
#include "common/win32/user_folder.h"
#include "common/win32/wide_text.h"

namespace quorlane {

DesktopImageLocation desktopImageLocationIn(const char* localAppData) {
    if (!isAbsolutePath(localAppData)) return {};
    const std::string folder = joinedPath(localAppData, "orvask");
    return {folder, desktopImageFileIn(folder)};
}

DesktopImageLocation desktopImageLocation() {
    return desktopImageLocationIn(userFolder("LOCALAPPDATA", CSIDL_LOCAL_APPDATA).c_str());
}

bool isOwnFolder(const std::string& folder) {
    // The folder lies in the user's own profile; what is checked here is that it is a real
    // folder, not a junction or link planted to send the picture elsewhere.
    const DWORD attributes = GetFileAttributesW(wideFromUtf8(folder).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

std::string findDesktopImageFile() {
    const DesktopImageLocation location = desktopImageLocation();
    if (location.folder.empty() || !isOwnFolder(location.folder)) return {};
    return location.file;
}

}  // namespace quorlane

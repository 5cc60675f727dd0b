// Where Quorlane.ini lives on Windows: beside Quorlane.scr when it is already there or the
// folder can be written (a copy unpacked anywhere), else in the user's own application data
// (a copy installed into the Windows folder, which a standard user cannot write).
#include "shell/settings/settings_location.h"

#include <windows.h>
// windows.h first: the shell folder header needs its types.
#include <shlobj.h>

#include <cstdlib>

#include "common/file_path.h"
#include "shell/settings/settings_file.h"

namespace quorlane {

namespace {

bool usable(const char* dir) {
    if (dir == nullptr) return false;
    const bool drive = dir[0] != '\0' && dir[1] == ':' && (dir[2] == '\\' || dir[2] == '/');
    const bool share = dir[0] == '\\' && dir[1] == '\\';
    return drive || share;
}

bool fileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder's read-only attribute says nothing about who may write it; only making a file
// there does.
bool canWriteFolder(const std::string& folder) {
    const std::string probe = joinedPath(folder, "Quorlane.ini.probe");
    const HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

}  // namespace

// configHome stands for %APPDATA% here; home is not used.
std::string settingsFolder(const std::string& programFolder, const char* configHome,
                           const char*) {
    if (fileExists(settingsFilePath(programFolder)) || canWriteFolder(programFolder)) {
        return programFolder;
    }
    if (!usable(configHome)) return programFolder;
    const std::string own = joinedPath(configHome, "Quorlane");
    CreateDirectoryA(own.c_str(), nullptr);  // made now, so that a save can land
    return own;
}

std::string settingsFolder(const std::string& programFolder) {
    const char* appData = std::getenv("APPDATA");
    char folder[MAX_PATH] = {};
    if (!usable(appData) &&
        SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) == S_OK) {
        appData = folder;
    }
    return settingsFolder(programFolder, appData, nullptr);
}

}  // namespace quorlane

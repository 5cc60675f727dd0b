// Where Quorlane.ini lives on Windows: beside Quorlane.scr when it is already there or the
// folder can be written (a copy unpacked anywhere), else in the user's own application data
// (a copy installed into the Windows folder, which a standard user cannot write).
#include "shell/settings/settings_location.h"

#include <windows.h>
// windows.h first: the shell folder header needs its types.
#include <shlobj.h>

#include "common/file_path.h"
#include "common/win32/user_folder.h"
#include "common/win32/wide_text.h"
#include "shell/settings/settings_file.h"

namespace quorlane {

namespace {

bool fileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(wideFromUtf8(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder's read-only attribute says nothing about who may write it; only making a file
// there does.
bool canWriteFolder(const std::string& folder) {
    const std::string probe = joinedPath(folder, "Quorlane.ini.probe");
    const HANDLE file =
        CreateFileW(wideFromUtf8(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

}  // namespace

// configHome stands for %APPDATA% here; home is not used.
std::string settingsFolder(const std::string& programFolder, const char* configHome, const char*) {
    if (fileExists(settingsFilePath(programFolder)) || canWriteFolder(programFolder)) {
        return programFolder;
    }
    if (!isAbsolutePath(configHome)) return programFolder;
    const std::string own = joinedPath(configHome, "Quorlane");
    CreateDirectoryW(wideFromUtf8(own).c_str(), nullptr);  // made now, so that a save can land
    return own;
}

std::string settingsFolder(const std::string& programFolder) {
    const std::string appData = userFolder("APPDATA", CSIDL_APPDATA);
    return settingsFolder(programFolder, appData.c_str(), nullptr);
}

}  // namespace quorlane

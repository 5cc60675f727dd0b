#include "common/win32/user_folder.h"

#include <windows.h>
// windows.h first: the shell folder header needs its types.
#include <shlobj.h>

#include <cstdlib>

#include "common/file_path.h"

namespace quorlane {

std::string userFolder(const char* variable, int csidl) {
    if (const char* named = std::getenv(variable); isAbsolutePath(named)) return named;
    char folder[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder) == S_OK) {
        return folder;
    }
    return {};
}

}  // namespace quorlane

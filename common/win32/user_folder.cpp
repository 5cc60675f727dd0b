#include "common/win32/user_folder.h"

#include <windows.h>
// windows.h first: the shell folder header needs its types.
#include <shlobj.h>

#include <cstdlib>

#include "common/file_path.h"
#include "common/win32/wide_text.h"

namespace quorlane {

std::string userFolder(const char* variable, int csidl) {
    // Read wide: getenv gives the ANSI code page's form, which cannot hold every name.
    if (const wchar_t* named = _wgetenv(wideFromUtf8(variable).c_str())) {
        const std::string folder = utf8FromWide(named);
        if (isAbsolutePath(folder.c_str())) return folder;
    }
    wchar_t folder[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder) == S_OK) {
        return utf8FromWide(folder);
    }
    return {};
}

}  // namespace quorlane

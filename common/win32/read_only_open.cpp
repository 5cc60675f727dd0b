#include "common/read_only_open.h"

#include <io.h>

#include <cerrno>

#include "common/win32/wide_text.h"

namespace quorlane {

int openForReading(const std::string& path) {
    const std::wstring wide = wideFromUtf8(path);
    if (wide.empty()) {
        errno = ENOENT;
        return -1;
    }
    return ::_wopen(wide.c_str(), kReadOnlyOpenFlags);
}

}  // namespace quorlane

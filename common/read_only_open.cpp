#include "common/read_only_open.h"

#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <cerrno>

namespace quorlane {

#ifndef _WIN32
// Windows opens through the wide-character call instead (win32/read_only_open.cpp).
int openForReading(const std::string& path) { return ::open(path.c_str(), kReadOnlyOpenFlags); }
#endif

int openRegularFileToRead(const std::string& path, [[maybe_unused]] FinalLink link) {
    if (path.empty()) {
        errno = ENOENT;
        return -1;
    }
#ifdef O_NOFOLLOW
    const int fd = link == FinalLink::Refuse ? ::open(path.c_str(), kReadOnlyOpenFlags | O_NOFOLLOW)
                                             : openForReading(path);
#else
    const int fd = openForReading(path);
#endif
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

}  // namespace quorlane

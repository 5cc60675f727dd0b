#pragma once
// How a file is opened only to read it. Non-blocking, so that a FIFO in the file's place cannot
// hang the reader; on Windows in binary mode, so that no byte is translated on the way in, and
// through the wide-character call, so that a path outside the ANSI code page opens too.
#include <fcntl.h>

#include <string>

namespace quorlane {

#ifdef _WIN32
inline constexpr int kReadOnlyOpenFlags = O_RDONLY | O_BINARY;
#else
inline constexpr int kReadOnlyOpenFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
#endif

// Whether a symbolic link as the path's last part is followed: refused where another program
// names the file in a folder others could write to (ELOOP). Windows follows always.
enum class FinalLink { Follow, Refuse };

// A file descriptor to read the file at path (UTF-8), or -1 with errno set; close() it.
int openForReading(const std::string& path);
// The file opened to read, when it is a regular file: checked on the very descriptor that is
// then read, so that a name switched meanwhile (to a FIFO, a device) cannot slip in between.
// -1 otherwise, errno telling why: open's own, or EINVAL for a file of another kind. The
// caller closes it.
int openRegularFileToRead(const std::string& path, FinalLink link = FinalLink::Follow);

}  // namespace quorlane

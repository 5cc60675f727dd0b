#pragma once
// How a file is opened only to read it. Non-blocking, so that a FIFO in the file's place cannot
// hang the reader; on Windows in binary mode, so that no byte is translated on the way in.
#include <fcntl.h>

namespace quorlane {

#ifdef _WIN32
inline constexpr int kReadOnlyOpenFlags = O_RDONLY | O_BINARY;
#else
inline constexpr int kReadOnlyOpenFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
#endif

}  // namespace quorlane

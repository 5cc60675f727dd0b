#include "common/read_only_open.h"

#include <fcntl.h>

namespace quorlane {

int openForReading(const std::string& path) { return ::open(path.c_str(), kReadOnlyOpenFlags); }

}  // namespace quorlane

#pragma once
// Writing a whole buffer to a descriptor: write() may take only part of it, or be interrupted.
#include <string_view>

namespace quorlane {

// Every byte written, or false with errno saying why (ENOSPC when the device took none).
bool writeAll(int fd, std::string_view data);

}  // namespace quorlane

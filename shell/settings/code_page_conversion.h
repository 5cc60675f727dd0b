#pragma once
// The bare conversions between UTF-8 and code page 932, each system through its own table
// (glibc's iconv on Linux, the code page services on Windows). Whole or nothing: a character
// without a counterpart, or malformed input, gives nullopt. code_page_932.h builds on them.
#include <optional>
#include <string>
#include <string_view>

namespace quorlane {

std::optional<std::string> convertUtf8ToCp932(std::string_view utf8);
std::optional<std::string> convertCp932ToUtf8(std::string_view cp932);

}  // namespace quorlane

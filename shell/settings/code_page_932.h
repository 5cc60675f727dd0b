#pragma once
// Code page 932 (the Japanese ANSI code page) as the settings file stores it, on the bare
// conversions of code_page_conversion.h.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "common/cp932_lead_byte.h"

namespace quorlane {

// A character CP932 lacks, or input that is not valid in the source encoding, gives nullopt:
// text is never stored or shown altered.
std::optional<std::string> utf8ToCp932(std::string_view utf8);
std::optional<std::string> cp932ToUtf8(std::string_view cp932);

// The longest prefix of at most maxBytes bytes that does not end inside a double-byte character.
std::size_t cp932PrefixLength(std::string_view cp932, std::size_t maxBytes);

}  // namespace quorlane

#pragma once
// The one conversion between the program's text (UTF-8 everywhere, paths included) and the
// UTF-16 that Windows' wide-character calls take. The narrow "A" calls and the C runtime's
// narrow functions read text in the ANSI code page instead, which is why paths never go to
// them.
#include <string>
#include <string_view>

namespace quorlane {

// Empty for empty text and for bytes that are no UTF-8.
std::wstring wideFromUtf8(std::string_view utf8);
std::string utf8FromWide(std::wstring_view wide);

}  // namespace quorlane

#pragma once
// The screensaver command line: "/s" show, "/c" settings, "/p <window>" preview, as the
// desktop's screensaver host passes it.
#include <cstdint>
#include <optional>
#include <string>

namespace quorlane {

// The arguments after the program name, joined by single blanks.
std::string joinArguments(int argc, const char* const* argv);

// The second character, upper-cased; 0 when the command line is shorter than two.
// Only that character decides the mode; the first is normally "/" or "-".
char modeSwitchOf(const std::string& commandLine);

// Whether a start with an empty command line opens the settings dialog instead of a show.
// Windows starts a screensaver that way when the user picks "Configure" (it adds "/s" itself
// for a test or a double-click); elsewhere an empty command line has always shown.
#ifdef _WIN32
inline constexpr bool kEmptyCommandLineOpensSettings = true;
#else
inline constexpr bool kEmptyCommandLineOpensSettings = false;
#endif

// The preview host's window: the number from position 4 on, rounded to the nearest whole
// number (halves to even). Empty when it does not fit a 32-bit signed integer.
std::optional<int32_t> previewHostHandle(const std::string& commandLine);

}  // namespace quorlane

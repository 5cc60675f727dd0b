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

// A decimal number as a lenient reader takes it: blanks, tabs and line feeds anywhere are
// skipped, reading stops at the first character that cannot continue the number, and no
// number at all gives 0. Sign, fraction and exponent ("1.5", "-2", "3E2") are understood.
double readLeadingNumber(const std::string& text);

// The preview host's window: the number from position 4 on, rounded to the nearest whole
// number (halves to even). Empty when it does not fit a 32-bit signed integer.
std::optional<int32_t> previewHostHandle(const std::string& commandLine);

}  // namespace quorlane

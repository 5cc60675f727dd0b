#pragma once
// Decimal numbers in text, read without the locale (a Qt program runs under the user's, where
// "1,9" could otherwise pass as a number), and fitted into the 16- and 32-bit integers the
// settings, the dialog and the command line keep them in.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorlane {

// The whole text as one number: an optional sign, digits with an optional point (at least one
// digit), an optional exponent ("e" or "E", optional sign, digits). Nothing else, not even a
// blank. A number too large for a double is plus or minus infinity.
std::optional<double> parseDecimal(std::string_view text);

// A number as a lenient reader takes it: blanks, tabs and line ends anywhere are skipped,
// reading stops at the first character that cannot continue the number, and no number at all
// gives 0. Sign, fraction and exponent ("1.5", "-2", "3E2", "3D2") are understood.
double readLeadingNumber(std::string_view text);

enum class Rounding {
    Down,          // toward minus infinity
    HalvesToEven,  // to the nearest, halves to the even neighbour
};

// The number rounded, when the result fits; nothing when it does not (infinities and NaN
// never fit).
std::optional<int16_t> roundToInt16(double value, Rounding rounding);
std::optional<int32_t> roundToInt32(double value, Rounding rounding);

}  // namespace quorlane

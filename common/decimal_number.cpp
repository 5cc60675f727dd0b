#include "common/decimal_number.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace quorlane {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Converts text already known to be a number of the strict form, "+" left out.
double convert(const std::string& number) {
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: only the sign and whether it grows matter.
        const bool negative = number.front() == '-';
        const std::size_t e = number.find_first_of("eE");
        const bool tiny = e != std::string::npos && number.compare(e + 1, 1, "-") == 0;
        if (tiny) return negative ? -0.0 : 0.0;
        return negative ? -HUGE_VAL : HUGE_VAL;
    }
    return value;
}

template <typename Int>
std::optional<Int> roundTo(double value, Rounding rounding) {
    // nearbyint in the default mode rounds halves to even.
    const double rounded = rounding == Rounding::Down ? std::floor(value) : std::nearbyint(value);
    if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<Int>::max())))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

}  // namespace

std::optional<double> parseDecimal(std::string_view text) {
    std::string number;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') number += '-';
        ++i;
    }
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        const std::size_t exponent = j;
        while (j < text.size() && isDigit(text[j])) ++j;
        if (j == exponent) return std::nullopt;
        i = j;
    }
    if (i != text.size()) return std::nullopt;
    number.append(text.substr(start, i - start));
    return convert(number);
}

double readLeadingNumber(std::string_view text) {
    // Gather the characters that can still continue the number, without the skipped blanks,
    // in the strict form parseDecimal reads.
    std::string number;
    enum class Stage { Sign, Whole, Fraction, ExponentSign, Exponent } stage = Stage::Sign;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
        const bool digit = isDigit(c);
        if (stage == Stage::Sign && (c == '+' || c == '-')) {
            number += c;
            stage = Stage::Whole;
        } else if ((stage == Stage::Sign || stage == Stage::Whole || stage == Stage::Fraction) &&
                   digit) {
            number += c;
            if (stage == Stage::Sign) stage = Stage::Whole;
        } else if ((stage == Stage::Sign || stage == Stage::Whole) && c == '.') {
            number += c;
            stage = Stage::Fraction;
        } else if ((stage == Stage::Whole || stage == Stage::Fraction) &&
                   (c == 'e' || c == 'E' || c == 'd' || c == 'D')) {
            number += 'e';
            stage = Stage::ExponentSign;
        } else if (stage == Stage::ExponentSign && (c == '+' || c == '-' || digit)) {
            number += c;
            stage = Stage::Exponent;
        } else if (stage == Stage::Exponent && digit) {
            number += c;
        } else {
            break;
        }
    }
    // An exponent without digits does not count ("12E" is 12).
    if (!number.empty() && (number.back() == 'e' || number.back() == '+' || number.back() == '-')) {
        if (number.back() != 'e') number.pop_back();
        if (!number.empty() && number.back() == 'e') number.pop_back();
    }
    // What is left without a digit ("", "-", ".") is no number.
    return parseDecimal(number).value_or(0.0);
}

std::optional<int16_t> roundToInt16(double value, Rounding rounding) {
    return roundTo<int16_t>(value, rounding);
}

std::optional<int32_t> roundToInt32(double value, Rounding rounding) {
    return roundTo<int32_t>(value, rounding);
}

}  // namespace quorlane

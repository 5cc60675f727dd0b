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

// How many digits follow from `at` on.
std::size_t digitsFrom(std::string_view text, std::size_t at) {
    std::size_t count = 0;
    while (at + count < text.size() && isDigit(text[at + count])) ++count;
    return count;
}

// Where an exponent's optional sign and its digits, from `at` on, end; nothing without digits.
std::optional<std::size_t> exponentEnd(std::string_view text, std::size_t at) {
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    const std::size_t digits = digitsFrom(text, at);
    if (digits == 0) return std::nullopt;
    return at + digits;
}

// Where a lenient reader is in the number it gathers.
enum class LeadingStage { Sign, Whole, Fraction, ExponentSign, Exponent };

// Adds c to the number when it can continue it at this stage (an exponent's "d" or "D" as "e");
// false when it cannot, which ends the number.
bool continueLeadingNumber(LeadingStage& stage, char c, std::string& number) {
    const bool digit = isDigit(c);
    const bool sign = c == '+' || c == '-';
    switch (stage) {
    case LeadingStage::Sign:
        if (!sign && !digit && c != '.') return false;
        stage = c == '.' ? LeadingStage::Fraction : LeadingStage::Whole;
        break;
    case LeadingStage::Whole:
    case LeadingStage::Fraction:
        if (c == 'e' || c == 'E' || c == 'd' || c == 'D') {
            number += 'e';
            stage = LeadingStage::ExponentSign;
            return true;
        }
        if (c == '.' && stage == LeadingStage::Whole) {
            stage = LeadingStage::Fraction;
        } else if (!digit) {
            return false;
        }
        break;
    case LeadingStage::ExponentSign:
        if (!sign && !digit) return false;
        stage = LeadingStage::Exponent;
        break;
    case LeadingStage::Exponent:
        if (!digit) return false;
        break;
    }
    number += c;
    return true;
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
    const std::size_t whole = digitsFrom(text, i);
    i += whole;
    std::size_t fraction = 0;
    if (i < text.size() && text[i] == '.') {
        fraction = digitsFrom(text, i + 1);
        i += 1 + fraction;
    }
    if (whole + fraction == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        const std::optional<std::size_t> end = exponentEnd(text, i + 1);
        if (!end) return std::nullopt;
        i = *end;
    }
    if (i != text.size()) return std::nullopt;
    number.append(text.substr(start, i - start));
    return convert(number);
}

double readLeadingNumber(std::string_view text) {
    // Gather the characters that can still continue the number, without the skipped blanks,
    // in the strict form parseDecimal reads.
    std::string number;
    LeadingStage stage = LeadingStage::Sign;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
        if (!continueLeadingNumber(stage, c, number)) break;
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

#include "shell/core/command_line.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>

#include "common/ascii_case.h"

namespace quorlane {

std::string joinArguments(int argc, const char* const* argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

char modeSwitchOf(const std::string& commandLine) {
    if (commandLine.size() < 2) return 0;
    return asciiUpper(commandLine[1]);
}

double readLeadingNumber(const std::string& text) {
    // Gather the characters that can still continue the number, without the skipped
    // blanks, then let strtod read exactly that.
    std::string number;
    enum class Stage { Sign, Whole, Fraction, ExponentSign, Exponent } stage = Stage::Sign;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
        const bool digit = c >= '0' && c <= '9';
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
    if (number.empty()) return 0.0;
    const double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value : (value > 0 ? HUGE_VAL : -HUGE_VAL);
}

std::optional<int32_t> previewHostHandle(const std::string& commandLine) {
    const std::string tail = commandLine.size() > 3 ? commandLine.substr(3) : std::string();
    const double value = std::nearbyint(readLeadingNumber(tail));  // default mode: halves to even
    if (!(value >= -2147483648.0 && value <= 2147483647.0)) return std::nullopt;
    return static_cast<int32_t>(value);
}

}  // namespace quorlane

#pragma once
// Case rules for ASCII letters only. Unlike std::toupper these ignore the locale, which a Qt
// program takes from the user's environment (a Turkish one turns "i" into a dotted capital).
// They work byte by byte, which is safe for UTF-8 (no byte of a multi-byte character is ASCII);
// in code page 932 text the caller skips the second byte of a double-byte character.
#include <string>
#include <string_view>

namespace quorlane {

constexpr char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string asciiUppercase(std::string text) {
    for (char& c : text) c = asciiUpper(c);
    return text;
}

// Equal but for the case of ASCII letters.
constexpr bool asciiEqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

// Whether text ends with ending, but for the case of ASCII letters.
constexpr bool asciiEndsWithIgnoringCase(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() &&
           asciiEqualIgnoringCase(text.substr(text.size() - ending.size()), ending);
}

}  // namespace quorlane

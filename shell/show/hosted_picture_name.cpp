#include "shell/show/hosted_picture_name.h"

#include <cstdio>
#include <string_view>

namespace quorlane {

namespace {

constexpr std::string_view kPrefix = "Torvane-";
constexpr std::string_view kSuffix = ".bmp";
// As common/atomic_file.cpp names its temporaries.
constexpr std::size_t kTemporaryTail = 7;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f'); }
bool isLetterOrDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::string hostedDesktopImageFileIn(const std::string& folder, long owner, unsigned long host) {
    char name[64];
    std::snprintf(name, sizeof name, "Torvane-%ld-0x%lx.bmp", owner, host);
    return folder + "/" + name;
}

std::optional<long> hostedDesktopImageOwner(const std::string& fileName) {
    std::string_view name = fileName;
    if (name.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
    name.remove_prefix(kPrefix.size());
    // A temporary's tail: a dot and six letters or digits after ".bmp".
    const auto bmp = name.rfind(kSuffix);
    if (bmp == std::string_view::npos) return std::nullopt;
    const std::string_view tail = name.substr(bmp + kSuffix.size());
    if (!tail.empty()) {
        if (tail.size() != kTemporaryTail || tail[0] != '.') return std::nullopt;
        for (char c : tail.substr(1)) {
            if (!isLetterOrDigit(c)) return std::nullopt;
        }
    }
    name = name.substr(0, bmp);
    // <owner>-0x<host>
    const auto dash = name.find("-0x");
    if (dash == 0 || dash == std::string_view::npos || dash > 18) return std::nullopt;
    long owner = 0;
    for (char c : name.substr(0, dash)) {
        if (!isDigit(c)) return std::nullopt;
        owner = owner * 10 + (c - '0');
    }
    const std::string_view host = name.substr(dash + 3);
    if (host.empty()) return std::nullopt;
    for (char c : host) {
        if (!isHexDigit(c)) return std::nullopt;
    }
    if (owner <= 0) return std::nullopt;
    return owner;
}

}  // namespace quorlane

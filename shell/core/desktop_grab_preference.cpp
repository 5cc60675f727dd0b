#include "shell/core/desktop_grab_preference.h"

#include <sstream>

#include "common/ascii_case.h"

namespace quorlane {

namespace {

constexpr char kName[] = "grabDesktopImages";

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The spellings X's resource converter takes for a boolean.
std::optional<bool> booleanOf(const std::string& value) {
    for (const char* yes : {"true", "yes", "on", "1"}) {
        if (asciiEqualIgnoringCase(value, yes)) return true;
    }
    for (const char* no : {"false", "no", "off", "0"}) {
        if (asciiEqualIgnoringCase(value, no)) return false;
    }
    return std::nullopt;
}

}  // namespace

std::optional<bool> grabDesktopImagesIn(const std::string& text) {
    std::optional<bool> found;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::string entry = trimmed(line);
        const auto colon = entry.find(':');
        if (colon == std::string::npos || entry[0] == '#' || entry[0] == '!') continue;
        const std::string name = trimmed(entry.substr(0, colon));
        // The resource's last component: "grabDesktopImages", "*grabDesktopImages",
        // "XScreenSaver.grabDesktopImages".
        const auto separator = name.find_last_of(".*");
        const std::string last = separator == std::string::npos ? name : name.substr(separator + 1);
        if (last != kName) continue;
        // A later line overrides an earlier one, as in a resource file.
        if (const auto value = booleanOf(trimmed(entry.substr(colon + 1)))) found = value;
    }
    return found;
}

bool desktopGrabAllowed(const std::optional<std::string>& userFile,
                        const std::optional<std::string>& systemDefaults) {
    if (userFile) {
        if (const auto value = grabDesktopImagesIn(*userFile)) return *value;
    }
    if (systemDefaults) {
        if (const auto value = grabDesktopImagesIn(*systemDefaults)) return *value;
    }
    return true;
}

}  // namespace quorlane

#include "common/host_window_request.h"

#include <charconv>

namespace quorlane {

namespace {

// The option's name without its leading dashes, or empty when it is not an option.
std::string_view optionName(std::string_view argument) {
    if (argument.size() >= 2 && argument.substr(0, 2) == "--") return argument.substr(2);
    if (!argument.empty() && argument[0] == '-') return argument.substr(1);
    return {};
}

HostWindowRequest invalid(std::string problem) {
    HostWindowRequest request;
    request.kind = HostWindowRequest::Kind::Invalid;
    request.problem = std::move(problem);
    return request;
}

}  // namespace

std::optional<uint32_t> parseWindowId(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    // from_chars would take a sign; an id has none.
    if (text.empty() || text[0] == '-' || text[0] == '+') return std::nullopt;
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || value == 0) return std::nullopt;
    return value;
}

HostWindowRequest hostWindowRequest(const std::vector<std::string>& arguments,
                                    const char* windowVariable) {
    bool root = false;
    std::optional<std::string> windowText;
    std::string picture;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view name = optionName(arguments[i]);
        const bool last = i + 1 == arguments.size();
        if (name == "root") {
            root = true;
        } else if (name == "window-id") {
            if (last) return invalid("-window-id needs the window's id");
            windowText = arguments[++i];
        } else if (name.substr(0, 10) == "window-id=") {
            windowText = std::string(name.substr(10));
        } else if (name == "picture") {
            if (last) return invalid("-picture needs a file");
            picture = arguments[++i];
        }
    }

    HostWindowRequest request;
    request.picture = picture;
    if (windowText) {
        const auto id = parseWindowId(*windowText);
        if (!id) return invalid("not a window id: \"" + *windowText + "\"");
        request.kind = HostWindowRequest::Kind::Window;
        request.window = *id;
    } else if (root) {
        if (windowVariable == nullptr || *windowVariable == '\0') {
            request.kind = HostWindowRequest::Kind::Root;
        } else {
            const auto id = parseWindowId(windowVariable);
            if (!id) {
                return invalid("XSCREENSAVER_WINDOW is not a window id: \"" +
                               std::string(windowVariable) + "\"");
            }
            request.kind = HostWindowRequest::Kind::Window;
            request.window = *id;
        }
    }
    return request;
}

std::vector<std::string> splitAtBlanks(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    for (char c : line) {
        if (c == ' ' || c == '\t') {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

}  // namespace quorlane

#include "common/monitor_geometry.h"

#include <charconv>

namespace quorlane {

std::optional<std::size_t> primaryMonitorIndex(const std::vector<Monitor>& monitors) {
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        if (monitors[i].primary) return i;
    }
    if (monitors.empty()) return std::nullopt;
    return 0;
}

std::string monitorGeometryText(const MonitorRect& rect) {
    return std::to_string(rect.width) + "x" + std::to_string(rect.height) + "+" +
           std::to_string(rect.x) + "+" + std::to_string(rect.y);
}

namespace {

// One decimal number at the front of text, taken off it.
bool takeNumber(std::string_view& text, int& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end == first) return false;
    text.remove_prefix(static_cast<std::size_t>(end - first));
    return true;
}

bool takeChar(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

}  // namespace

std::optional<MonitorRect> parseMonitorGeometry(std::string_view text) {
    MonitorRect rect;
    // from_chars takes a leading minus but no plus: a size never starts with a sign.
    if (text.empty() || text.front() == '-') return std::nullopt;
    if (!takeNumber(text, rect.width) || !takeChar(text, 'x')) return std::nullopt;
    if (text.empty() || text.front() == '-') return std::nullopt;
    if (!takeNumber(text, rect.height) || !takeChar(text, '+')) return std::nullopt;
    if (!takeNumber(text, rect.x) || !takeChar(text, '+')) return std::nullopt;
    if (!takeNumber(text, rect.y) || !text.empty()) return std::nullopt;
    if (rect.width <= 0 || rect.height <= 0) return std::nullopt;
    return rect;
}

}  // namespace quorlane

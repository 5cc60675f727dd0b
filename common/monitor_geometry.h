#pragma once
// Monitors as the X server lists them, and the one line that tells a renderer which monitor
// its window belongs on. The shell writes that line, the renderer reads it: one form for both.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorlane {

// A rectangle of the screen in pixels.
struct MonitorRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const MonitorRect&) const = default;
};

struct Monitor {
    std::string name;
    MonitorRect rect;
    bool primary = false;
    bool operator==(const Monitor&) const = default;
};

// The environment variable naming a renderer's monitor; unset, the renderer fills the
// screen from its top-left corner.
inline constexpr const char* kRendererMonitorVariable = "QUORLANE_MONITOR";

// The monitor flagged primary, else the first one, as toolkits take it; nothing for an
// empty list.
std::optional<std::size_t> primaryMonitorIndex(const std::vector<Monitor>& monitors);

// "WIDTHxHEIGHT+X+Y", X's own geometry form; X and Y may be negative ("+-10").
std::string monitorGeometryText(const MonitorRect& rect);
// The rectangle of such a text; nothing when it is not exactly that form or has no area.
std::optional<MonitorRect> parseMonitorGeometry(std::string_view text);

}  // namespace quorlane

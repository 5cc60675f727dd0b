#include "renderer/core/window_placement.h"

#include <algorithm>
#include <cstdlib>

namespace quorlane {

WindowPlacement windowPlacement(const std::optional<MonitorRect>& monitor) {
    WindowPlacement placement;
    if (!monitor) return placement;
    // Wholly on its monitor, so a manager fills that one and no other.
    placement.x = monitor->x;
    placement.y = monitor->y;
    placement.width = std::min(placement.width, monitor->width);
    placement.height = std::min(placement.height, monitor->height);
    placement.unmanaged = monitor;
    return placement;
}
std::optional<MonitorRect> monitorFromEnvironment() {
    const char* text = std::getenv(kRendererMonitorVariable);
    if (text == nullptr) return std::nullopt;
    return parseMonitorGeometry(text);
}

}  // namespace quorlane

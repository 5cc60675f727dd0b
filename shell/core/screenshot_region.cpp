#include "shell/core/screenshot_region.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace quorlane {

std::optional<MonitorRect> outputRegionInScreenshot(const std::vector<MonitorRect>& outputs,
                                                    const MonitorRect& chosen, int pictureWidth,
                                                    int pictureHeight) {
    if (outputs.empty() || pictureWidth <= 0 || pictureHeight <= 0) return std::nullopt;
    int left = outputs.front().x, top = outputs.front().y;
    int right = left + outputs.front().width, bottom = top + outputs.front().height;
    for (const MonitorRect& r : outputs) {
        if (r.width <= 0 || r.height <= 0) return std::nullopt;
        left = std::min(left, r.x);
        top = std::min(top, r.y);
        right = std::max(right, r.x + r.width);
        bottom = std::max(bottom, r.y + r.height);
    }
    const int64_t layoutWidth = right - left, layoutHeight = bottom - top;
    // The same scale both ways (a whole-number scaled layout, or none), within a pixel.
    if (std::llabs(int64_t{pictureWidth} * layoutHeight - int64_t{pictureHeight} * layoutWidth) >
        std::max(layoutWidth, layoutHeight)) {
        return std::nullopt;
    }
    if (chosen.x < left || chosen.y < top || chosen.x + chosen.width > right ||
        chosen.y + chosen.height > bottom || chosen.width <= 0 || chosen.height <= 0) {
        return std::nullopt;
    }
    auto scaleX = [&](int64_t v) { return static_cast<int>(v * pictureWidth / layoutWidth); };
    auto scaleY = [&](int64_t v) { return static_cast<int>(v * pictureHeight / layoutHeight); };
    const int x0 = scaleX(chosen.x - left), y0 = scaleY(chosen.y - top);
    const int x1 = scaleX(chosen.x + chosen.width - left),
              y1 = scaleY(chosen.y + chosen.height - top);
    return MonitorRect{x0, y0, x1 - x0, y1 - y0};
}

}  // namespace quorlane

#include "shell/core/window_zoom.h"

#include <algorithm>
#include <cmath>

namespace quorlane {

namespace {

ZoomRect pointAt(ZoomAnchor anchor) { return {anchor.x, anchor.y, anchor.x, anchor.y}; }

int between(int from, int to, int step, int steps) {
    // In doubles: screen coordinates times a step count can pass what an int holds.
    const double at = from + (static_cast<double>(to) - from) * step / steps;
    return static_cast<int>(std::lround(at));
}

}  // namespace

ZoomAnchor& zoomAnchor() {
    static ZoomAnchor anchor;
    return anchor;
}

ZoomPath zoomOpenPath(ZoomAnchor anchor, ZoomRect window) { return {pointAt(anchor), window}; }

ZoomPath zoomClosePath(ZoomRect window, ZoomAnchor anchor) { return {window, pointAt(anchor)}; }

ZoomRect zoomFrame(const ZoomPath& path, int step, int steps) {
    if (steps <= 0) return path.to;
    step = std::clamp(step, 0, steps);
    const ZoomRect& a = path.from;
    const ZoomRect& b = path.to;
    return {between(a.left, b.left, step, steps), between(a.top, b.top, step, steps),
            between(a.right, b.right, step, steps), between(a.bottom, b.bottom, step, steps)};
}

}  // namespace quorlane

#pragma once
// The window zoom: a window seems to grow out of a screen point when it opens and to
// shrink back into it when it closes. This is the plain part: the process-wide point and
// the rectangles of the animation; shell/platform/x11/zoom_animation.h draws them.
#include <chrono>
#include <cstdint>

namespace quorlane {

// The screen point windows zoom from and back into; 0, 0 until someone sets it (the
// settings dialog sets it to the mouse position when it opens).
struct ZoomAnchor {
    int16_t x = 0;
    int16_t y = 0;
};

// The process-wide zoom anchor.
ZoomAnchor& zoomAnchor();

// A screen rectangle, right and bottom exclusive. All zero is what a window whose
// rectangle cannot be read gives.
struct ZoomRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const ZoomRect&) const = default;
};

// Where an animation starts and where it ends.
struct ZoomPath {
    ZoomRect from;
    ZoomRect to;
    bool operator==(const ZoomPath&) const = default;
};

// Opening: from the point at the anchor to the window's outer rectangle.
ZoomPath zoomOpenPath(ZoomAnchor anchor, ZoomRect window);
// Closing: from the window's outer rectangle back to the point at the anchor.
ZoomPath zoomClosePath(ZoomRect window, ZoomAnchor anchor);

// How many frames an animation shows after its start and how long each stays up; the
// whole animation stays within about a fifth of a second, so a dialog never waits long.
inline constexpr int kZoomSteps = 12;
inline constexpr std::chrono::milliseconds kZoomStepTime{16};
static_assert((kZoomSteps + 1) * kZoomStepTime <= std::chrono::milliseconds(250),
              "a zoom must not keep its caller waiting");

// The rectangle shown at step (0 .. steps) of the path: every edge moves linearly from
// the start to the end and is rounded to the nearest pixel, so step 0 is `from` and
// step `steps` is `to` exactly. Steps outside that range are held at the ends.
ZoomRect zoomFrame(const ZoomPath& path, int step, int steps = kZoomSteps);

}  // namespace quorlane

#pragma once
// The desktop as it was before a screensaver framework covered it. XScreenSaver grabs it
// before it blanks and leaves it on each of its windows: the property _SCREENSAVER_SCREENSHOT
// holds a pixmap, either of the whole screen or of the window's own size.
#include <memory>
#include <optional>

#include "shell/platform/x11/x_screen_capture.h"

namespace quorlane {

// The part of a screenshot of pixmapWidth x pixmapHeight that lies behind a window at
// `window` (its position on the root and its size): the whole pixmap when it is the window's
// size or smaller; else the window's rectangle on it, clipped. Empty when nothing overlaps.
std::optional<ScreenRect> screenshotPartBehind(const ScreenRect& window, int pixmapWidth,
                                               int pixmapHeight);

// The screenshot the framework left on the window, cut to the window; null when it left
// none (another framework), it cannot be read, or its depth is not the screen's.
std::unique_ptr<RootCapture> frameworkScreenshot(Display* display, unsigned long window);

// Whether every pixel has one colour: what a screen covered by a blank window shows.
bool isOneColour(const XrgbPixels& pixels);

}  // namespace quorlane

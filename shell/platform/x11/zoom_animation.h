#pragma once
// The window zoom drawn on X: an outline that grows from the zoom anchor to a window's
// outer rectangle, or shrinks from it back into the anchor, in an overlay window of its
// own that the window manager never sees. The real window is never moved, sized, shown
// or hidden.
//
// Both calls block until the animation is over (about 200 ms) and leave nothing behind.
// They use a connection to the display of their own ($DISPLAY), so they work with or
// without a QApplication, and need no event loop. The outer rectangle includes the window
// manager's frame when the window has one; a window whose rectangle cannot be read (no
// such window, no display) counts as the point at the screen's top-left corner. While the
// closing outline runs over the window, the server repaints what it uncovers from a copy of
// the window taken at the start, so its blocked owner leaves no trails.
//
// Supports: X with the SHAPE extension, an override-redirect overlay, with or without a window
//   manager.
// Does not: Wayland, servers without SHAPE (no animation then).

#include "shell/core/window_zoom.h"

namespace quorlane {

// Opening runs before the window is shown, so its caller says where the window will appear:
// its outer rectangle on the screen, frame included.
void zoomWindowOpen(const ZoomRect& outer);
// window: an X window id, such as a Qt top-level's winId(), shown where it is to shrink from.
void zoomWindowClose(unsigned long window);

}  // namespace quorlane

#pragma once
// The window manager's frame around a top-level window, asked for before the window is mapped
// so that the window can be placed by its outer size. Without a window manager, or when it
// does not answer in time, there is no frame.
//
// Supports: _NET_FRAME_EXTENTS, asked for with _NET_REQUEST_FRAME_EXTENTS when the window
//   manager announces it.
// Does not: window managers that neither set nor announce it (no frame then).
#include <chrono>

typedef struct _XDisplay Display;

namespace quorlane {

struct FrameExtents {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

FrameExtents requestFrameExtents(Display* display, unsigned long window,
                                 std::chrono::milliseconds limit);

}  // namespace quorlane

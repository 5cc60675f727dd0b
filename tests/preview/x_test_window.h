#pragma once
// Plain Xlib windows made by the tests themselves: preview hosts and windows to zoom.
#include <X11/Xlib.h>

#include <vector>

namespace quorlane::testing {

class XTestWindow {
public:
    // A window of the given size at (x, y) on the root, filled with rgb (0xRRGGBB).
    XTestWindow(Display* display, int x, int y, unsigned width, unsigned height, unsigned long rgb,
                bool map = true);
    ~XTestWindow() { destroy(); }
    XTestWindow(const XTestWindow&) = delete;
    XTestWindow& operator=(const XTestWindow&) = delete;

    Window id() const { return window_; }
    void destroy();

private:
    Display* display_;
    Window window_;
};

struct XGeometry {
    int x = 0, y = 0;
    unsigned width = 0, height = 0;
    bool operator==(const XGeometry&) const = default;
};

// The window's position in its parent and its size; all zero when it cannot be read.
XGeometry geometryOf(Display* display, Window window);
std::vector<Window> childrenOf(Display* display, Window window);
// The window's pixels as 0xRRGGBB, row by row; empty when they cannot be read.
std::vector<unsigned long> pixelsOf(Display* display, Window window, unsigned width,
                                    unsigned height);

}  // namespace quorlane::testing

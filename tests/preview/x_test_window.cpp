#include "tests/preview/x_test_window.h"

#include <X11/Xutil.h>

namespace quorlane::testing {

XTestWindow::XTestWindow(Display* display, int x, int y, unsigned width, unsigned height,
                         unsigned long rgb, bool map)
    : display_(display) {
    const Window root = DefaultRootWindow(display);
    // TrueColor 24-bit (Xvfb's): the pixel value is 0xRRGGBB.
    window_ = XCreateSimpleWindow(display, root, x, y, width, height, 0, 0, rgb);
    if (map) XMapWindow(display, window_);
    XSync(display, False);
}

void XTestWindow::destroy() {
    if (window_ == 0) return;
    XDestroyWindow(display_, window_);
    XSync(display_, False);
    window_ = 0;
}

XGeometry geometryOf(Display* display, Window window) {
    Window root = 0;
    XGeometry g;
    unsigned border = 0, depth = 0;
    if (XGetGeometry(display, window, &root, &g.x, &g.y, &g.width, &g.height, &border, &depth) ==
        0) {
        return {};
    }
    return g;
}

std::vector<Window> childrenOf(Display* display, Window window) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    std::vector<Window> result;
    if (XQueryTree(display, window, &root, &parent, &children, &count) != 0 && children) {
        result.assign(children, children + count);
    }
    if (children != nullptr) XFree(children);
    return result;
}

std::vector<unsigned long> pixelsOf(Display* display, Window window, unsigned width,
                                    unsigned height) {
    std::vector<unsigned long> pixels;
    XImage* image = XGetImage(display, window, 0, 0, width, height, AllPlanes, ZPixmap);
    if (image == nullptr) return pixels;
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            pixels.push_back(XGetPixel(image, static_cast<int>(x), static_cast<int>(y)) & 0xffffff);
        }
    }
    XDestroyImage(image);
    return pixels;
}

}  // namespace quorlane::testing

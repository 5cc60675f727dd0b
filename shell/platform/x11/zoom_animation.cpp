#include "shell/platform/x11/zoom_animation.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <thread>

#include "common/x11/x_errors.h"
#include "common/x11/x_property.h"
#include "shell/core/window_zoom.h"

namespace quorlane {

namespace {

constexpr int kOutlineWidth = 2;
constexpr unsigned short kOutlineRed = 0x4a4a, kOutlineGreen = 0x6e6e, kOutlineBlue = 0xa9a9;

bool isManagedClient(Display* display, Window window) {
    const Atom wmState = XInternAtom(display, "WM_STATE", True);
    if (wmState == None) return false;
    return readXProperty(display, window, wmState, 0, 2).has_value();
}

// The window the user sees as this window: its frame when a window manager has put it
// into one (the frame is the ancestor just below the root), else the window itself.
Window outerWindow(Display* display, Window window) {
    if (!isManagedClient(display, window)) return window;
    Window current = window;
    for (int depth = 0; depth < 32; ++depth) {
        Window root = None, parent = None, *children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, current, &root, &parent, &children, &count) == 0) break;
        if (children != nullptr) XFree(children);
        if (parent == None || parent == root) break;
        current = parent;
    }
    return current;
}

// The outer rectangle in root coordinates, border included; all zero when it cannot be read.
ZoomRect outerRect(Display* display, Window window) {
    const Window outer = outerWindow(display, window);
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, outer, &attributes) == 0) return {};
    int x = 0, y = 0;
    Window child = None;
    if (!XTranslateCoordinates(display, outer, attributes.root, 0, 0, &x, &y, &child)) return {};
    const int border = attributes.border_width;
    return {x - border, y - border, x + attributes.width + border, y + attributes.height + border};
}

unsigned long outlinePixel(Display* display, int screen) {
    XColor colour{};
    colour.red = kOutlineRed;
    colour.green = kOutlineGreen;
    colour.blue = kOutlineBlue;
    colour.flags = DoRed | DoGreen | DoBlue;
    if (XAllocColor(display, DefaultColormap(display, screen), &colour) != 0) return colour.pixel;
    return BlackPixel(display, screen);
}

// Moves the overlay onto the frame's rectangle and cuts it down to the outline.
void showFrame(Display* display, Window overlay, const ZoomRect& frame) {
    const int width = std::max(1, frame.width());
    const int height = std::max(1, frame.height());
    XMoveResizeWindow(display, overlay, frame.left, frame.top, static_cast<unsigned>(width),
                      static_cast<unsigned>(height));
    const auto side = [](int v) { return static_cast<unsigned short>(std::min(v, 0xffff)); };
    const int thick = kOutlineWidth;
    XRectangle edges[4] = {
        {0, 0, side(width), side(thick)},
        {0, static_cast<short>(std::max(0, height - thick)), side(width), side(thick)},
        {0, 0, side(thick), side(height)},
        {static_cast<short>(std::max(0, width - thick)), 0, side(thick), side(height)},
    };
    XShapeCombineRectangles(display, overlay, ShapeBounding, 0, 0, edges, 4, ShapeSet, Unsorted);
}

void animate(Display* display, const ZoomPath& path) {
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;  // the window manager must not frame or place it
    attributes.background_pixel = outlinePixel(display, screen);
    attributes.save_under = True;
    const ZoomRect first = zoomFrame(path, 0);
    const Window overlay = XCreateWindow(
        display, RootWindow(display, screen), first.left, first.top,
        static_cast<unsigned>(std::max(1, first.width())),
        static_cast<unsigned>(std::max(1, first.height())), 0, CopyFromParent, InputOutput,
        CopyFromParent, CWOverrideRedirect | CWBackPixel | CWSaveUnder, &attributes);
    if (overlay == None) return;
    // Clicks go through to whatever lies beneath.
    XShapeCombineRectangles(display, overlay, ShapeInput, 0, 0, nullptr, 0, ShapeSet, Unsorted);
    XStoreName(display, overlay, "");

    const auto start = std::chrono::steady_clock::now();
    for (int step = 0; step <= kZoomSteps; ++step) {
        showFrame(display, overlay, zoomFrame(path, step));
        if (step == 0) XMapRaised(display, overlay);
        XFlush(display);
        std::this_thread::sleep_until(start + kZoomStepTime * (step + 1));
    }
    XDestroyWindow(display, overlay);
    XSync(display, False);
}

// While the outline moves over a window, the window cannot redraw what it uncovers: its owner is
// the caller, blocked in the zoom. The window's own picture as its background lets the server
// put back what the outline leaves, so no trail of outlines stays on it.
class BackgroundSnapshot {
public:
    BackgroundSnapshot(Display* display, Window window) : display_(display), window_(window) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, window, &attributes) == 0 ||
            attributes.map_state != IsViewable || attributes.width <= 0 || attributes.height <= 0)
            return;
        pixmap_ = XCreatePixmap(display, window, static_cast<unsigned>(attributes.width),
                                static_cast<unsigned>(attributes.height),
                                static_cast<unsigned>(attributes.depth));
        GC gc = XCreateGC(display, pixmap_, 0, nullptr);
        XCopyArea(display, window, pixmap_, gc, 0, 0, static_cast<unsigned>(attributes.width),
                  static_cast<unsigned>(attributes.height), 0, 0);
        XFreeGC(display, gc);
        XSetWindowBackgroundPixmap(display, window, pixmap_);
    }
    ~BackgroundSnapshot() {
        if (pixmap_ == None) return;
        // Back to no background, as a toolkit's window keeps it: it paints every pixel itself.
        XSetWindowBackgroundPixmap(display_, window_, None);
        XFreePixmap(display_, pixmap_);
        XSync(display_, False);
    }
    BackgroundSnapshot(const BackgroundSnapshot&) = delete;
    BackgroundSnapshot& operator=(const BackgroundSnapshot&) = delete;

private:
    Display* display_;
    Window window_;
    Pixmap pixmap_ = None;
};

// Runs `draw` on a display connection of our own with the SHAPE extension, X errors ignored.
template <typename Draw>
void withZoomDisplay(Draw draw) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return;
    {
        // The window may go away while we look at it; that must never end the caller.
        const XErrorsIgnored ignored(display);
        int eventBase = 0, errorBase = 0;
        if (XShapeQueryExtension(display, &eventBase, &errorBase)) draw(display);
    }
    XCloseDisplay(display);
}

}  // namespace

void zoomWindowOpen(const ZoomRect& outer) {
    withZoomDisplay([&](Display* display) { animate(display, zoomOpenPath(zoomAnchor(), outer)); });
}

void zoomWindowClose(unsigned long window) {
    withZoomDisplay([&](Display* display) {
        const auto id = static_cast<Window>(window);
        const ZoomRect rect = outerRect(display, id);
        const BackgroundSnapshot kept(display, id);
        animate(display, zoomClosePath(rect, zoomAnchor()));
    });
}

}  // namespace quorlane

// The zoom drawn on a real X display: an unmanaged overlay appears, runs between the
// anchor and the window's outer rectangle, and is gone when the call returns; the window
// itself is never touched. Runs without a window manager and, under --wm, with one.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <thread>
#include <vector>

#include "shell/core/window_zoom.h"
#include "shell/platform/x11/zoom_animation.h"
#include "tests/preview/x_test_window.h"

namespace quorlane::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

int ignoreXError(Display*, XErrorEvent*) { return 0; }

bool redirectRefused = false;
int noteRedirectRefused(Display*, XErrorEvent* error) {
    if (error->error_code == BadAccess) redirectRefused = true;
    return 0;
}

// A window manager announces itself before it takes over the root; windows mapped in
// between are left unframed. It has taken over once the root refuses us its redirection.
bool windowManagerReady(Display* display) {
    const Window root = DefaultRootWindow(display);
    const auto until = Clock::now() + 10s;
    while (Clock::now() < until) {
        redirectRefused = false;
        XSetErrorHandler(noteRedirectRefused);
        XSelectInput(display, root, SubstructureRedirectMask);
        XSync(display, False);
        XSelectInput(display, root, NoEventMask);
        XSync(display, False);
        XSetErrorHandler(ignoreXError);
        if (redirectRefused) return true;
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

// What override-redirect windows did on the root while a zoom ran.
struct Overlay {
    bool mapped = false;
    bool destroyed = false;
    std::vector<XGeometry> frames;  // created at, then every move and resize
};

class ZoomAnimation : public ::testing::Test {
protected:
    // One connection for the whole run: a new one could be given the same window ids as
    // the last, and a window manager still busy with the old windows would mix them up.
    static void SetUpTestSuite() {
        XSetErrorHandler(ignoreXError);
        display_ = XOpenDisplay(nullptr);
    }
    static void TearDownTestSuite() {
        if (display_ != nullptr) XCloseDisplay(display_);
        display_ = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(display_, nullptr);
        withWindowManager_ = std::getenv("QUORLANE_TEST_WM") != nullptr;
        if (withWindowManager_) {
            ASSERT_TRUE(windowManagerReady(display_));
        }
    }
    void TearDown() override { zoomAnchor() = {}; }

    // Runs the zoom while listening on the root; returns what the overlays did.
    std::map<Window, Overlay> record(const std::function<void()>& zoom) {
        const Window root = DefaultRootWindow(display_);
        XSelectInput(display_, root, SubstructureNotifyMask);
        XSync(display_, True);  // drop what came before
        zoom();
        XSync(display_, False);
        XSelectInput(display_, root, NoEventMask);

        std::map<Window, Overlay> overlays;
        while (XPending(display_) > 0) {
            XEvent e;
            XNextEvent(display_, &e);
            if (e.type == CreateNotify && e.xcreatewindow.override_redirect) {
                const auto& c = e.xcreatewindow;
                overlays[c.window].frames.push_back(
                    {c.x, c.y, static_cast<unsigned>(c.width), static_cast<unsigned>(c.height)});
            } else if (e.type == ConfigureNotify && overlays.count(e.xconfigure.window)) {
                const auto& c = e.xconfigure;
                overlays[c.window].frames.push_back(
                    {c.x, c.y, static_cast<unsigned>(c.width), static_cast<unsigned>(c.height)});
            } else if (e.type == MapNotify && overlays.count(e.xmap.window)) {
                overlays[e.xmap.window].mapped = true;
            } else if (e.type == DestroyNotify && overlays.count(e.xdestroywindow.window)) {
                overlays[e.xdestroywindow.window].destroyed = true;
            }
        }
        return overlays;
    }

    // The one overlay that was shown; fails the test when there is not exactly one.
    Overlay theOverlay(const std::map<Window, Overlay>& overlays) {
        std::vector<Overlay> shown;
        for (const auto& [id, overlay] : overlays) {
            if (overlay.mapped) shown.push_back(overlay);
        }
        EXPECT_EQ(shown.size(), 1u);
        return shown.empty() ? Overlay{} : shown.front();
    }

    // The window as the user sees it: its frame under a window manager.
    XGeometry outerGeometry(Window window) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        Window outer = window;
        while (XQueryTree(display_, outer, &root, &parent, &children, &count) != 0) {
            if (children != nullptr) XFree(children);
            if (parent == root) break;
            outer = parent;
        }
        return geometryOf(display_, outer);
    }

    void waitUntilManaged(Window window) {
        if (!withWindowManager_) return;
        // Openbox can leave a request it read while starting up unhandled until the next
        // event reaches it: send it one (a property change on the root) now and then.
        const Atom nudge = XInternAtom(display_, "QUORLANE_TEST_NUDGE", False);
        const auto until = Clock::now() + 10s;
        for (int round = 1;
             Clock::now() < until && outerGeometry(window) == geometryOf(display_, window);
             ++round) {
            std::this_thread::sleep_for(20ms);
            if (round % 10 == 0) {
                XChangeProperty(display_, DefaultRootWindow(display_), nudge, XA_CARDINAL, 32,
                                PropModeReplace, reinterpret_cast<unsigned char*>(&round), 1);
                XSync(display_, False);
            }
        }
        std::this_thread::sleep_for(200ms);  // let the frame settle
    }

    static inline Display* display_ = nullptr;
    bool withWindowManager_ = false;
};

TEST_F(ZoomAnimation, OpensFromTheAnchorAndClosesBackIntoItLeavingTheWindowAlone) {
    XTestWindow window(display_, 400, 300, 200, 150, 0x336699);
    waitUntilManaged(window.id());
    const XGeometry before = geometryOf(display_, window.id());
    const XGeometry outer = outerGeometry(window.id());
    if (withWindowManager_) {
        // The frame is part of the window's rectangle.
        EXPECT_GT(outer.width, 200u);
        EXPECT_GT(outer.height, 150u);
    } else {
        EXPECT_EQ(outer, (XGeometry{400, 300, 200, 150}));
    }

    zoomAnchor() = {50, 60};
    const ZoomRect outerRect{outer.x, outer.y, outer.x + static_cast<int>(outer.width),
                             outer.y + static_cast<int>(outer.height)};
    Overlay open = theOverlay(record([&] { zoomWindowOpen(outerRect); }));
    EXPECT_TRUE(open.destroyed);
    ASSERT_GE(open.frames.size(), 3u);
    EXPECT_EQ(open.frames.front(), (XGeometry{50, 60, 1, 1}));
    EXPECT_EQ(open.frames.back(), outer);
    // On its way: strictly between the point and the window.
    const XGeometry middle = open.frames[open.frames.size() / 2];
    EXPECT_GT(middle.x, 50);
    EXPECT_LT(middle.x, outer.x);
    EXPECT_GT(middle.width, 1u);
    EXPECT_LT(middle.width, outer.width);

    Overlay close = theOverlay(record([&] { zoomWindowClose(window.id()); }));
    EXPECT_TRUE(close.destroyed);
    ASSERT_GE(close.frames.size(), 3u);
    EXPECT_EQ(close.frames.front(), outer);
    EXPECT_EQ(close.frames.back(), (XGeometry{50, 60, 1, 1}));

    // Nothing left behind, nothing moved, nothing shown or hidden.
    EXPECT_EQ(geometryOf(display_, window.id()), before);
    EXPECT_EQ(outerGeometry(window.id()), outer);
    XWindowAttributes attributes{};
    ASSERT_NE(XGetWindowAttributes(display_, window.id(), &attributes), 0);
    EXPECT_EQ(attributes.map_state, IsViewable);
}

TEST_F(ZoomAnimation, AnUnreadableWindowShrinksFromTheScreenCorner) {
    XTestWindow gone(display_, 0, 0, 10, 10, 0);
    const Window goneId = gone.id();
    gone.destroy();
    zoomAnchor() = {640, 480};
    Overlay close = theOverlay(record([&] { zoomWindowClose(goneId); }));
    ASSERT_FALSE(close.frames.empty());
    EXPECT_EQ(close.frames.front(), (XGeometry{0, 0, 1, 1}));
    EXPECT_EQ(close.frames.back(), (XGeometry{640, 480, 1, 1}));
}

TEST_F(ZoomAnimation, TheClosingOutlineLeavesNoTrailsOnAWindowThatCannotRepaint) {
    // Like a toolkit's window: no background of its own, painted once, and its owner busy
    // in the zoom, so nothing repaints what the outline uncovers.
    const Window root = DefaultRootWindow(display_);
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None;
    const Window window = XCreateWindow(display_, root, 400, 300, 200, 150, 0, CopyFromParent,
                                        InputOutput, CopyFromParent, CWBackPixmap, &attributes);
    XSelectInput(display_, window, ExposureMask);
    XMapWindow(display_, window);
    waitUntilManaged(window);
    for (XEvent e; XWindowEvent(display_, window, ExposureMask, &e), e.xexpose.count != 0;) {}
    GC gc = XCreateGC(display_, window, 0, nullptr);
    XSetForeground(display_, gc, 0x336699);
    XFillRectangle(display_, window, gc, 0, 0, 200, 150);
    XFreeGC(display_, gc);
    XSync(display_, False);
    ASSERT_EQ(pixelsOf(display_, window, 200, 150),
              std::vector<unsigned long>(200 * 150, 0x336699));

    zoomAnchor() = {50, 60};
    zoomWindowClose(window);
    const std::vector<unsigned long> after = pixelsOf(display_, window, 200, 150);
    ASSERT_EQ(after.size(), 200u * 150u);
    int trail = 0;
    for (unsigned long pixel : after) trail += pixel != 0x336699;
    EXPECT_EQ(trail, 0);
    XDestroyWindow(display_, window);
    XSync(display_, False);
}

}  // namespace
}  // namespace quorlane::testing

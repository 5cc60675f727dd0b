#include "renderer/entry/host_window_front_end.h"

#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "renderer/core/show.h"
#include "renderer/core/swap_interval.h"

namespace quorlane {

namespace {

// Set by the error handler, which Xlib calls without a way to pass state: the host was
// destroyed between two looks (BadWindow, BadDrawable), so the flight is over.
bool hostLost = false;

int onXError(Display*, XErrorEvent* error) {
    if (error->error_code == BadWindow || error->error_code == BadDrawable) hostLost = true;
    return 0;
}

// The display itself went away (the framework's server ended): nothing is left to draw on, nor
// to let go of in order.
int onXIoError(Display*) { std::_Exit(0); }

// Whether a window of this visual can be drawn into double-buffered with a depth buffer,
// as the flight needs.
bool suitsTheFlight(Display* display, XVisualInfo* visual) {
    int useGl = 0, rgba = 0, doubleBuffer = 0, depth = 0;
    return glXGetConfig(display, visual, GLX_USE_GL, &useGl) == 0 && useGl &&
           glXGetConfig(display, visual, GLX_RGBA, &rgba) == 0 && rgba &&
           glXGetConfig(display, visual, GLX_DOUBLEBUFFER, &doubleBuffer) == 0 && doubleBuffer &&
           glXGetConfig(display, visual, GLX_DEPTH_SIZE, &depth) == 0 && depth > 0;
}

struct VisualDeleter {
    void operator()(XVisualInfo* info) const {
        if (info != nullptr) XFree(info);
    }
};
using VisualPointer = std::unique_ptr<XVisualInfo, VisualDeleter>;

VisualPointer visualOfWindow(Display* display, const XWindowAttributes& attributes) {
    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    wanted.screen = XScreenNumberOfScreen(attributes.screen);
    int count = 0;
    return VisualPointer(XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &wanted, &count));
}

// The window the flight draws into and its visual: the host itself when its visual serves;
// otherwise a window of ours that fills it, with a visual that does (a host made for plain 2D
// drawing). No visual: the display offers none for OpenGL.
VisualPointer drawingTarget(Display* display, Window host, const XWindowAttributes& attributes,
                            Window& target) {
    target = host;
    VisualPointer visual = visualOfWindow(display, attributes);
    if (visual && suitsTheFlight(display, visual.get())) return visual;
    int wanted[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 16, None};
    visual.reset(glXChooseVisual(display, XScreenNumberOfScreen(attributes.screen), wanted));
    if (!visual) return visual;
    XSetWindowAttributes own{};
    own.colormap = XCreateColormap(display, host, visual->visual, AllocNone);
    own.background_pixel = 0;
    own.border_pixel = 0;
    target = XCreateWindow(display, host, 0, 0, static_cast<unsigned>(attributes.width),
                           static_cast<unsigned>(attributes.height), 0, visual->depth, InputOutput,
                           visual->visual, CWColormap | CWBackPixel | CWBorderPixel, &own);
    XMapWindow(display, target);
    return visual;
}

}  // namespace

HostWindowFrontEnd::HostWindowFrontEnd(unsigned long window) : window_(window) {}

bool HostWindowFrontEnd::open() {
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr) {
        std::fprintf(stderr, "Quorlane.dll: cannot open the X display\n");
        return false;
    }
    XSetErrorHandler(onXError);
    XSetIOErrorHandler(onXIoError);
    host_ = window_ != 0 ? window_ : DefaultRootWindow(display_);

    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display_, host_, &attributes)) {
        std::fprintf(stderr, "Quorlane.dll: no window 0x%lx to draw into\n", host_);
        return false;
    }
    // Told of its size, its end, and when it can be seen; any number of clients may listen so.
    XSelectInput(display_, host_, StructureNotifyMask | VisibilityChangeMask);
    seen_ = canBeSeen();
    width_ = attributes.width;
    height_ = attributes.height;

    Window target = None;
    const VisualPointer visual = drawingTarget(display_, host_, attributes, target);
    if (!visual) {
        std::fprintf(stderr, "Quorlane.dll: the display offers no visual for OpenGL\n");
        return false;
    }
    target_ = target;
    GLXContext context = glXCreateContext(display_, visual.get(), nullptr, True);
    if (context == nullptr || !glXMakeCurrent(display_, target_, context)) {
        std::fprintf(stderr, "Quorlane.dll: cannot draw with OpenGL into window 0x%lx\n", host_);
        return false;
    }
    requestVsync();
    return true;
}

// Frames drawn into a window nobody can see (unmapped, under an unmapped parent, or one that
// only takes input) would cost a whole core for nothing.
bool HostWindowFrontEnd::canBeSeen() const {
    XWindowAttributes now{};
    return XGetWindowAttributes(display_, host_, &now) && now.c_class == InputOutput &&
           now.map_state == IsViewable;
}

void HostWindowFrontEnd::follow(const XEvent& event) {
    if (event.type == MapNotify || event.type == UnmapNotify || event.type == VisibilityNotify ||
        event.type == ReparentNotify) {
        seen_ = canBeSeen();
    }
    if (event.type == DestroyNotify && event.xdestroywindow.window == host_) {
        hostLost = true;
    } else if (event.type == ConfigureNotify && event.xconfigure.window == host_ &&
               (event.xconfigure.width != width_ || event.xconfigure.height != height_)) {
        width_ = event.xconfigure.width;
        height_ = event.xconfigure.height;
        if (target_ != host_) {
            XResizeWindow(display_, target_, static_cast<unsigned>(width_),
                          static_cast<unsigned>(height_));
        }
        glViewport(0, 0, width_, height_);
    }
}

void HostWindowFrontEnd::run(Show& show) {
    glViewport(0, 0, width_, height_);
    for (;;) {
        // Unseen, it waits for the window's next event (mapped, made visible, resized or
        // destroyed) instead of drawing.
        while (XPending(display_) > 0 || (!seen_ && !hostLost)) {
            XEvent event;
            XNextEvent(display_, &event);
            follow(event);
        }
        if (hostLost) show.end(0);
        show.frame();
        glXSwapBuffers(display_, target_);
    }
}

}  // namespace quorlane

#include "renderer/entry/host_window_front_end.h"

#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "renderer/core/picture_texture.h"
#include "renderer/core/scene_director.h"
#include "renderer/core/swap_interval.h"
#include "renderer/core/tick_count.h"
#include "renderer/maze/maze_scene.h"

namespace quorlane {

namespace {

// Set by the error handler, which Xlib calls without a way to pass state: the host was
// destroyed between two looks (BadWindow, BadDrawable), so the flight is over.
bool hostLost = false;

int onXError(Display*, XErrorEvent* error) {
    if (error->error_code == BadWindow || error->error_code == BadDrawable) hostLost = true;
    return 0;
}

// The display itself went away (the framework's server ended): nothing is left to draw on.
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

}  // namespace

int runInHostWindow(unsigned long window, const std::string& pictureFile) {
    // As in the full-screen start, the picture is read while the display and GL start up.
    if (!pictureFile.empty()) preparePictureTexture(pictureFile.c_str());

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "Quorlane.dll: cannot open the X display\n");
        return 1;
    }
    XSetErrorHandler(onXError);
    XSetIOErrorHandler(onXIoError);
    const Window host = window != 0 ? window : DefaultRootWindow(display);

    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, host, &attributes)) {
        std::fprintf(stderr, "Quorlane.dll: no window 0x%lx to draw into\n", host);
        return 1;
    }
    // Told of its size, its end, and when it can be seen; any number of clients may listen so.
    XSelectInput(display, host, StructureNotifyMask | VisibilityChangeMask);
    // Frames drawn into a window nobody can see (unmapped, under an unmapped parent, or one
    // that only takes input) would cost a whole core for nothing.
    const auto canBeSeen = [&] {
        XWindowAttributes now{};
        return XGetWindowAttributes(display, host, &now) && now.c_class == InputOutput &&
               now.map_state == IsViewable;
    };
    bool seen = canBeSeen();

    // Drawn into directly when its visual serves; otherwise into a window of ours that fills
    // it, with a visual that does (a host made for plain 2D drawing).
    Window target = host;
    VisualPointer visual = visualOfWindow(display, attributes);
    if (!visual || !suitsTheFlight(display, visual.get())) {
        int wanted[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 16, None};
        visual.reset(glXChooseVisual(display, XScreenNumberOfScreen(attributes.screen), wanted));
        if (!visual) {
            std::fprintf(stderr, "Quorlane.dll: the display offers no visual for OpenGL\n");
            return 1;
        }
        XSetWindowAttributes own{};
        own.colormap = XCreateColormap(display, host, visual->visual, AllocNone);
        own.background_pixel = 0;
        own.border_pixel = 0;
        target =
            XCreateWindow(display, host, 0, 0, static_cast<unsigned>(attributes.width),
                          static_cast<unsigned>(attributes.height), 0, visual->depth, InputOutput,
                          visual->visual, CWColormap | CWBackPixel | CWBorderPixel, &own);
        XMapWindow(display, target);
    }
    GLXContext context = glXCreateContext(display, visual.get(), nullptr, True);
    if (context == nullptr || !glXMakeCurrent(display, target, context)) {
        std::fprintf(stderr, "Quorlane.dll: cannot draw with OpenGL into window 0x%lx\n", host);
        return 1;
    }
    requestVsync();

    bool endFlag = false;
    auto director = std::make_unique<SceneDirector>(&endFlag, tickCount);
    director->initGraphics();
    std::unique_ptr<MazeScene> flight = createMazeFlight(director->clock(), pictureFile);
    director->setCurrentScene(flight.get());
    int width = attributes.width, height = attributes.height;
    glViewport(0, 0, width, height);

    while (!hostLost) {
        // Unseen, it waits for the window's next event (mapped, made visible, resized or
        // destroyed) instead of drawing.
        while (XPending(display) > 0 || (!seen && !hostLost)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify || event.type == UnmapNotify ||
                event.type == VisibilityNotify || event.type == ReparentNotify) {
                seen = canBeSeen();
            }
            if (event.type == DestroyNotify && event.xdestroywindow.window == host) {
                hostLost = true;
            } else if (event.type == ConfigureNotify && event.xconfigure.window == host &&
                       (event.xconfigure.width != width || event.xconfigure.height != height)) {
                width = event.xconfigure.width;
                height = event.xconfigure.height;
                if (target != host) {
                    XResizeWindow(display, target, static_cast<unsigned>(width),
                                  static_cast<unsigned>(height));
                }
                glViewport(0, 0, width, height);
            }
        }
        if (hostLost) break;
        director->update();
        if (endFlag) break;
        director->draw();
        glXSwapBuffers(display, target);
    }
    // As the full-screen renderer ends: the director goes, textures and lists go with the
    // process.
    director.reset();
    flight.reset();
    std::exit(0);
}

}  // namespace quorlane

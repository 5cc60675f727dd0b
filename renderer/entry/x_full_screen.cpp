#include "renderer/entry/x_full_screen.h"

#include <GL/glx.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace quorlane {

namespace {

// The window named by a window property, or None.
Window windowProperty(Display* display, Window owner, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window found = None;
    if (XGetWindowProperty(display, owner, property, 0, 1, False, XA_WINDOW, &type, &format, &count,
                           &after, &data) == Success &&
        type == XA_WINDOW && format == 32 && count == 1) {
        found = *reinterpret_cast<Window*>(data);
    }
    if (data != nullptr) XFree(data);
    return found;
}

// A stale check window (a manager that was killed) is ignored, not an error.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

bool managerDoesFullScreen(Display* display) {
    if (display == nullptr) return false;
    const Window root = DefaultRootWindow(display);
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    const Window manager = windowProperty(display, root, check);
    if (manager == None) return false;
    XSync(display, False);
    auto* previous = XSetErrorHandler(ignoreErrors);
    // A live manager names its check window on the window itself too.
    const bool live = windowProperty(display, manager, check) == manager;
    XSync(display, False);
    XSetErrorHandler(previous);
    if (!live) return false;

    const Atom supported = XInternAtom(display, "_NET_SUPPORTED", False);
    const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(display, root, supported, 0, 4096, False, XA_ATOM, &type, &format,
                           &count, &after, &data) == Success &&
        type == XA_ATOM && format == 32) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count && !found; ++i) found = atoms[i] == fullScreen;
    }
    if (data != nullptr) XFree(data);
    return found;
}

bool managerDoesFullScreen() {
    Display* display = glXGetCurrentDisplay();
    return display != nullptr && managerDoesFullScreen(display);
}

}  // namespace quorlane

#include "renderer/entry/x_full_screen.h"

#include <GL/glx.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>

#include "common/x11/x_errors.h"
#include "common/x11/x_property.h"

namespace quorlane {

namespace {

// The window named by a window property, or None.
Window windowProperty(Display* display, Window owner, Atom property) {
    const auto value = readXProperty(display, owner, property, XA_WINDOW, 1);
    if (!value || value->format != 32 || value->items.size() != 1) return None;
    return value->items[0];
}

}  // namespace

bool managerDoesFullScreen(Display* display) {
    if (display == nullptr) return false;
    const Window root = DefaultRootWindow(display);
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    const Window manager = windowProperty(display, root, check);
    if (manager == None) return false;
    {
        // A stale check window (a manager that was killed) is ignored, not an error; a live
        // manager names its check window on the window itself too.
        const XErrorsIgnored ignored(display);
        if (windowProperty(display, manager, check) != manager) return false;
    }
    const Atom supported = XInternAtom(display, "_NET_SUPPORTED", False);
    const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    const auto atoms = readXProperty(display, root, supported, XA_ATOM, 4096);
    return atoms && atoms->format == 32 &&
           std::find(atoms->items.begin(), atoms->items.end(), fullScreen) != atoms->items.end();
}

bool managerDoesFullScreen() {
    Display* display = glXGetCurrentDisplay();
    return display != nullptr && managerDoesFullScreen(display);
}

}  // namespace quorlane

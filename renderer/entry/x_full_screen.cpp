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

namespace {

// A message to the window manager about one of its windows, as the desktop standard has it.
void tellManager(Display* display, Window window, const char* type, const long (&data)[5]) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, type, False);
    event.xclient.format = 32;
    for (int i = 0; i < 5; ++i) event.xclient.data.l[i] = data[i];
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

}  // namespace

bool keepOnMonitor(const MonitorRect& monitor, int openedWidth, int openedHeight) {
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable();
    if (display == nullptr || window == None) return false;
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes)) return false;
    MonitorRect now{0, 0, attributes.width, attributes.height};
    Window child = None;
    XTranslateCoordinates(display, window, attributes.root, 0, 0, &now.x, &now.y, &child);
    if (now == monitor) return false;
    // Still the size it opened at: the manager has not made it full screen yet.
    if (now.width == openedWidth && now.height == openedHeight) return false;
    // Only once the manager has made it full screen: before that it is still on its way.
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    const auto states = readXProperty(display, window, state, XA_ATOM, 64);
    if (!states ||
        std::find(states->items.begin(), states->items.end(), fullScreen) == states->items.end()) {
        return false;
    }
    // In the order the manager reads them: no frame, out of full screen and above the others,
    // then the monitor's rectangle (north-west gravity; x, y, width and height given; from an
    // application).
    const Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    const long noDecorations[5] = {2, 0, 0, 0, 0};
    XChangeProperty(display, window, motif, motif, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(noDecorations), 5);
    constexpr long kRemove = 0, kAdd = 1, kFromApplication = 1;
    tellManager(display, window, "_NET_WM_STATE",
                {kRemove, static_cast<long>(fullScreen), 0, kFromApplication, 0});
    const Atom above = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
    tellManager(display, window, "_NET_WM_STATE",
                {kAdd, static_cast<long>(above), 0, kFromApplication, 0});
    constexpr long kNorthWest = 1, kAllFour = 0xf << 8, kApplication = 1 << 12;
    tellManager(display, window, "_NET_MOVERESIZE_WINDOW",
                {kNorthWest | kAllFour | kApplication, monitor.x, monitor.y, monitor.width,
                 monitor.height});
    XMoveResizeWindow(display, window, monitor.x, monitor.y, static_cast<unsigned>(monitor.width),
                      static_cast<unsigned>(monitor.height));
    XFlush(display);
    return true;
}

}  // namespace quorlane

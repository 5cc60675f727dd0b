#include "shell/platform/x11/frame_extents.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <thread>

#include "common/x11/x_errors.h"
#include "common/x11/x_property.h"

namespace quorlane {
namespace {

// Whether the running window manager announces that it answers frame-extent requests. A
// manager that died leaves its check window's id behind, so that window must still exist.
bool managerAnswersRequests(Display* display, Atom request) {
    const Window root = DefaultRootWindow(display);
    const auto check = readXProperty(
        display, root, XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False), XA_WINDOW, 1);
    if (!check || check->format != 32 || check->items.size() != 1 || check->items[0] == None)
        return false;
    XWindowAttributes attributes;
    bool alive = false;
    {
        const XErrorsIgnored ignored(display);
        alive = XGetWindowAttributes(display, check->items[0], &attributes) != 0;
    }
    if (!alive) return false;

    const auto supported =
        readXProperty(display, root, XInternAtom(display, "_NET_SUPPORTED", False), XA_ATOM, 4096);
    if (!supported || supported->format != 32) return false;
    for (unsigned long atom : supported->items)
        if (atom == request) return true;
    return false;
}

bool readExtents(Display* display, Window window, Atom property, FrameExtents& extents) {
    const auto value = readXProperty(display, window, property, XA_CARDINAL, 4);
    if (!value || value->format != 32 || value->items.size() != 4) return false;
    const auto& v = value->items;
    extents = {static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]),
               static_cast<int>(v[3])};
    return true;
}

}  // namespace

FrameExtents requestFrameExtents(Display* display, unsigned long window,
                                 std::chrono::milliseconds limit) {
    FrameExtents extents;
    if (display == nullptr || window == 0) return extents;
    const Atom request = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    const Atom property = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    if (readExtents(display, window, property, extents)) return extents;
    if (!managerAnswersRequests(display, request)) return extents;

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = request;
    event.xclient.format = 32;
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (readExtents(display, window, property, extents)) return extents;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return FrameExtents{};
}

}  // namespace quorlane

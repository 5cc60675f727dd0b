#include "shell/platform/frame_extents.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <thread>

namespace quorlane {
namespace {

// Whether the running window manager announces that it answers frame-extent requests. A
// manager that died leaves its check window's id behind, so that window must still exist.
bool managerAnswersRequests(Display* display, Atom request) {
    const Window root = DefaultRootWindow(display);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window check = None;
    if (XGetWindowProperty(display, root, XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False),
                           0, 1, False, XA_WINDOW, &type, &format, &count, &after,
                           &data) == Success &&
        data != nullptr && count == 1 && format == 32) {
        check = static_cast<Window>(reinterpret_cast<unsigned long*>(data)[0]);
    }
    if (data != nullptr) XFree(data);
    if (check == None) return false;
    XWindowAttributes attributes;
    auto* previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    const bool alive = XGetWindowAttributes(display, check, &attributes) != 0;
    XSync(display, False);
    XSetErrorHandler(previous);
    if (!alive) return false;

    data = nullptr;
    bool supported = false;
    if (XGetWindowProperty(display, root, XInternAtom(display, "_NET_SUPPORTED", False), 0, 4096,
                           False, XA_ATOM, &type, &format, &count, &after, &data) == Success &&
        data != nullptr && format == 32) {
        const auto* atoms = reinterpret_cast<unsigned long*>(data);
        for (unsigned long i = 0; i < count && !supported; ++i) supported = atoms[i] == request;
    }
    if (data != nullptr) XFree(data);
    return supported;
}

bool readExtents(Display* display, Window window, Atom property, FrameExtents& extents) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(display, window, property, 0, 4, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr && format == 32 && count == 4) {
        const auto* values = reinterpret_cast<unsigned long*>(data);
        extents = {static_cast<int>(values[0]), static_cast<int>(values[1]),
                   static_cast<int>(values[2]), static_cast<int>(values[3])};
        found = true;
    }
    if (data != nullptr) XFree(data);
    return found;
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

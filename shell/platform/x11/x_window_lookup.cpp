#include "shell/platform/x11/x_window_lookup.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

#include "common/x11/x_property.h"

namespace quorlane {

namespace {

bool hasUtf8Name(Display* display, Window window, const std::string& title, bool& found) {
    // Xlib caches atoms, so asking again costs no round trip.
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const auto name = readXProperty(display, window, netWmName, utf8, 1024);
    if (!name || name->format != 8) return false;
    found = name->bytes == title;
    return true;
}

bool wmNameIs(Display* display, Window window, const std::string& title) {
    XTextProperty property{};
    if (XGetWMName(display, window, &property) == 0 || property.value == nullptr) return false;
    bool match = false;
    if (property.encoding == XA_STRING || property.format != 8) {
        match = property.format == 8 &&
                std::string(reinterpret_cast<char*>(property.value), property.nitems) == title;
    } else {
        // COMPOUND_TEXT and the like: let Xlib convert.
        char** list = nullptr;
        int count = 0;
        if (Xutf8TextPropertyToTextList(display, &property, &list, &count) >= Success &&
            list != nullptr) {
            match = count > 0 && title == list[0];
            XFreeStringList(list);
        } else {
            match = std::string(reinterpret_cast<char*>(property.value), property.nitems) == title;
        }
    }
    XFree(property.value);
    return match;
}

bool titled(Display* display, Window window, const std::string& title) {
    bool found = false;
    if (hasUtf8Name(display, window, title, found)) return found;
    return wmNameIs(display, window, title);
}

std::vector<Window> clientList(Display* display, Window root) {
    std::vector<Window> windows;
    const Atom clients = XInternAtom(display, "_NET_CLIENT_LIST", True);
    if (clients == None) return windows;
    const auto list = readXProperty(display, root, clients, XA_WINDOW, 65536);
    if (list && list->format == 32) windows.assign(list->items.begin(), list->items.end());
    return windows;
}

// A window manager takes a new window from the root into a frame of its own, and lists it
// only a moment later: in between the window is neither the root's child nor listed. So the
// search goes down into the frames too, as deep as a frame's own layers go.
constexpr int kFrameDepth = 3;

// The first window titled so among the children of `parent`, then among theirs.
Window findBelow(Display* display, Window parent, const std::string& title, int depth) {
    Window rootReturn = 0, parentReturn = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, parent, &rootReturn, &parentReturn, &children, &count) == 0) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        if (titled(display, children[i], title)) found = children[i];
    }
    for (unsigned int i = 0; i < count && found == 0 && depth > 1; ++i) {
        found = findBelow(display, children[i], title, depth - 1);
    }
    if (children != nullptr) XFree(children);
    return found;
}

}  // namespace

unsigned long findTopLevelWindow(Display* display, const std::string& title) {
    if (display == nullptr) return 0;
    const Window root = DefaultRootWindow(display);
    for (Window window : clientList(display, root)) {
        if (titled(display, window, title)) return window;
    }
    return findBelow(display, root, title, kFrameDepth);
}

bool topLevelWindowExists(Display* display, const std::string& title) {
    return findTopLevelWindow(display, title) != 0;
}

bool isExistingWindow(Display* display, uint32_t window) {
    if (display == nullptr || window == 0) return false;
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) != 0;
}

}  // namespace quorlane

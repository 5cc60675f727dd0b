#include "shell/platform/x11/x_monitors.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace quorlane {

std::vector<Monitor> activeMonitors(Display* display) {
    std::vector<Monitor> list;
    if (display == nullptr) return list;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) ||
        !XRRQueryVersion(display, &major, &minor) || (major == 1 && minor < 5)) {
        return list;
    }
    int count = 0;
    XRRMonitorInfo* monitors = XRRGetMonitors(display, DefaultRootWindow(display), True, &count);
    if (monitors == nullptr) return list;
    for (int i = 0; i < count; ++i) {
        const XRRMonitorInfo& info = monitors[i];
        if (info.width <= 0 || info.height <= 0) continue;
        Monitor monitor;
        if (char* name = XGetAtomName(display, info.name)) {
            monitor.name = name;
            XFree(name);
        }
        monitor.rect = {info.x, info.y, info.width, info.height};
        monitor.primary = info.primary != 0;
        list.push_back(std::move(monitor));
    }
    XRRFreeMonitors(monitors);
    return list;
}

}  // namespace quorlane

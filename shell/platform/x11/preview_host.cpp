#include "shell/platform/x11/preview_host.h"

#include <X11/Xlib.h>

namespace quorlane {

PreviewHost::PreviewHost(Display* display, unsigned long host) : display_(display), host_(host) {
    XSelectInput(display_, host_, StructureNotifyMask);
    XWindowAttributes attributes{};
    // The round trip also makes sure the selection is in place before we look.
    if (XGetWindowAttributes(display_, host_, &attributes) != 0) {
        width_ = attributes.width;
        height_ = attributes.height;
    } else {
        gone_ = true;
    }
}

void PreviewHost::watchPreview(unsigned long preview) {
    preview_ = preview;
    XSelectInput(display_, preview_, StructureNotifyMask);
    XSync(display_, False);
    // Gone before we started to listen: no DestroyNotify will come.
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display_, preview_, &attributes) == 0) gone_ = true;
}

int PreviewHost::fileDescriptor() const { return ConnectionNumber(display_); }

bool PreviewHost::gone() {
    // XPending reads the socket too, so events that arrived with a reply are not missed.
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == DestroyNotify &&
            (event.xdestroywindow.window == host_ ||
             (preview_ != 0 && event.xdestroywindow.window == preview_))) {
            gone_ = true;
        } else if (event.type == ConfigureNotify && event.xconfigure.window == host_ &&
                   (event.xconfigure.width != width_ || event.xconfigure.height != height_)) {
            width_ = event.xconfigure.width;
            height_ = event.xconfigure.height;
            resized_ = true;
        }
    }
    return gone_;
}

}  // namespace quorlane

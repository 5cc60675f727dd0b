#include "shell/platform/x11/x_window_activation.h"

#include <X11/Xlib.h>

#include "common/x11/x_errors.h"

namespace quorlane {

void bringWindowBack(Display* display, unsigned long window) {
    if (display == nullptr || window == 0) return;
    XErrorsIgnored gone(display);  // the dialog may have closed meanwhile
    const Window root = DefaultRootWindow(display);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2;  // from a pager: the user asked for it
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    // A minimised window is unmapped; mapping it asks for the normal state again.
    XMapRaised(display, window);
}

}  // namespace quorlane

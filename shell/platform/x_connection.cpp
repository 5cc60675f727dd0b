#include "shell/platform/x_connection.h"

#include <X11/Xlib.h>
#include <fcntl.h>

namespace quorlane {

namespace {

// Windows come and go while we look at them; a BadWindow must not end the shell.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

}  // namespace

std::unique_ptr<XConnection> XConnection::open() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return nullptr;
    XSetErrorHandler(ignoreXError);
    // The renderer must not inherit our connection.
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
    return std::unique_ptr<XConnection>(new XConnection(display));
}

XConnection::~XConnection() { XCloseDisplay(display_); }

}  // namespace quorlane

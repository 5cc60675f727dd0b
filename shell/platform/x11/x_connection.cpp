#include "shell/platform/x11/x_connection.h"

#include <X11/Xlib.h>
#include <fcntl.h>

#include "common/x11/x_errors.h"

namespace quorlane {

std::unique_ptr<XConnection> XConnection::open() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return nullptr;
    ignoreXErrorsFromNowOn();
    // The renderer must not inherit our connection.
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
    return std::unique_ptr<XConnection>(new XConnection(display));
}

XConnection::~XConnection() { XCloseDisplay(display_); }

}  // namespace quorlane

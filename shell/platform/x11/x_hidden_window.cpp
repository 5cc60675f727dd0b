#include "shell/platform/x11/x_hidden_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace quorlane {

XHiddenWindow::XHiddenWindow(Display* display, const std::string& title) : display_(display) {
    if (display_ == nullptr) return;
    const int screen = DefaultScreen(display_);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display_, screen);
    attributes.border_pixel = BlackPixel(display_, screen);
    window_ = XCreateWindow(display_, RootWindow(display_, screen), 0, 0, 1, 1, 0, CopyFromParent,
                            InputOutput, CopyFromParent, CWBackPixel | CWBorderPixel, &attributes);
    if (window_ == 0) return;
    XStoreName(display_, window_, title.c_str());
    XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_NAME", False),
                    XInternAtom(display_, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
    XFlush(display_);
}

XHiddenWindow::~XHiddenWindow() {
    if (display_ == nullptr || window_ == 0) return;
    XDestroyWindow(display_, window_);
    XFlush(display_);
}

void XHiddenWindow::setGeometry(const ScreenRect& rect) {
    if (display_ == nullptr || window_ == 0 || rect.width <= 0 || rect.height <= 0) return;
    XMoveResizeWindow(display_, window_, rect.x, rect.y, static_cast<unsigned>(rect.width),
                      static_cast<unsigned>(rect.height));
    XFlush(display_);
}

}  // namespace quorlane

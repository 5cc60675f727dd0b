#include "common/x11/x_errors.h"

#include <X11/Xlib.h>

namespace quorlane {

namespace {

int ignoreXError(Display*, XErrorEvent*) { return 0; }

}  // namespace

void ignoreXErrorsFromNowOn() { XSetErrorHandler(ignoreXError); }

XErrorsIgnored::XErrorsIgnored(Display* display)
    : display_(display), previous_(reinterpret_cast<void (*)()>(XSetErrorHandler(ignoreXError))) {}

XErrorsIgnored::~XErrorsIgnored() {
    XSync(display_, False);
    XSetErrorHandler(reinterpret_cast<XErrorHandler>(previous_));
}

}  // namespace quorlane

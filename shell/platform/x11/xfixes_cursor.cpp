#include "shell/platform/x11/xfixes_cursor.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

namespace quorlane {

void XFixesCursor::setCursorVisible(bool visible) {
    if (display_ == nullptr) return;
    int eventBase = 0, errorBase = 0;
    if (!XFixesQueryExtension(display_, &eventBase, &errorBase)) return;
    int major = 4, minor = 0;
    XFixesQueryVersion(display_, &major, &minor);  // required before the cursor requests
    const Window root = DefaultRootWindow(display_);
    if (visible) {
        XFixesShowCursor(display_, root);
    } else {
        XFixesHideCursor(display_, root);
    }
    XFlush(display_);
}

}  // namespace quorlane

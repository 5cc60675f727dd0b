#pragma once
// A top-level X window that is never mapped: all a hidden show window needs to be, so that
// a second start finds it by its title.
//
// Supports: an unmapped top-level window with a title both by WM_NAME and _NET_WM_NAME.
// Does not: input, drawing, being shown.
#include <string>

#include "shell/platform/x11/x_screen_capture.h"

typedef struct _XDisplay Display;

namespace quorlane {

class XHiddenWindow {
public:
    // Creates the window at once, borderless, black, with the title in both of the
    // properties a title lookup reads.
    XHiddenWindow(Display* display, const std::string& title);
    ~XHiddenWindow();
    XHiddenWindow(const XHiddenWindow&) = delete;
    XHiddenWindow& operator=(const XHiddenWindow&) = delete;

    void setGeometry(const ScreenRect& rect);
    unsigned long id() const { return window_; }

private:
    Display* display_;
    unsigned long window_ = 0;
};

}  // namespace quorlane

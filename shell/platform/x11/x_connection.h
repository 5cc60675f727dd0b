#pragma once
// The shell's own Xlib connection, open for the whole process: the window lookups use it,
// and the cursor stays hidden only while the connection that hid it lives.
//
// Supports: one Xlib connection to $DISPLAY, closed on exec, X errors lived through.
// Does not: several displays at once, Wayland without Xwayland.
#include <memory>

typedef struct _XDisplay Display;

namespace quorlane {

class XConnection {
public:
    // Null when no display can be opened.
    static std::unique_ptr<XConnection> open();
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    Display* display() const { return display_; }

private:
    explicit XConnection(Display* display) : display_(display) {}
    Display* display_;
};

}  // namespace quorlane

#pragma once
// The foreign window a preview is drawn into, seen through the shell's Xlib connection:
// its size as it changes, and whether it (or the preview inside it) has been destroyed. The host
// owns the preview's lifetime, and nothing tells a Qt program that a foreign parent went, so the
// preview asks the X server to tell it.
//
// Supports: an X window id given in decimal, its size and its ConfigureNotify, its
//   DestroyNotify.
// Does not: hosts on another display, Wayland hosts.
#include <cstdint>
#include <utility>

typedef struct _XDisplay Display;

namespace quorlane {

class PreviewHost {
public:
    // Starts watching the host at once, so that a host destroyed from here on is noticed.
    // The connection's error handler must tolerate BadWindow (XConnection's does).
    PreviewHost(Display* display, unsigned long host);

    // The host's inside, in pixels, as last heard of; 0 x 0 when it cannot be read.
    int width() const { return width_; }
    int height() const { return height_; }
    // True once after gone() has heard of a new size.
    bool takeResize() { return std::exchange(resized_, false); }

    // Also treats the preview window's own destruction as the end.
    void watchPreview(unsigned long preview);

    // The connection's socket, to wait on for the host's news.
    int fileDescriptor() const;
    // Reads what the server has sent (sizes too); true once the host or the preview is gone.
    bool gone();

private:
    Display* display_;
    unsigned long host_;
    unsigned long preview_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool gone_ = false;
    bool resized_ = false;
};

}  // namespace quorlane

#pragma once
// The primary screen's rectangle and its contents, read straight from the X server: shared
// memory where the server offers it (a copy of about a millisecond), else an ordinary image
// request.
//
// Supports: the primary RandR monitor, MIT-SHM, plain XGetImage when shared memory is refused,
//   the usual 32-bit pixels taken as they are, other layouts converted pixel by pixel.
// Does not: Wayland, visuals with a colour map, several monitors in one capture.
#include <cstdint>
#include <memory>
#include <vector>

#include "shell/core/xrgb_pixels.h"

typedef struct _XDisplay Display;
struct _XImage;

namespace quorlane {

struct ScreenRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// The primary monitor's rectangle on the root window; the whole root window when the
// server names no primary monitor.
ScreenRect primaryScreenRect(Display* display);

// One capture of a rectangle of the root window, held where it landed (shared memory needs
// no copy) until the capture is dropped.
class RootCapture {
public:
    // Reads the rectangle as it is on screen now; null when it cannot be read.
    static std::unique_ptr<RootCapture> grab(Display* display, const ScreenRect& rect);
    // Reads a rectangle of another drawable (a pixmap someone left us) with an ordinary
    // image request; null when it cannot be read.
    static std::unique_ptr<RootCapture> grabDrawable(Display* display, unsigned long drawable,
                                                     const ScreenRect& rect);
    ~RootCapture();
    RootCapture(const RootCapture&) = delete;
    RootCapture& operator=(const RootCapture&) = delete;

    XrgbPixels pixels() const { return pixels_; }

private:
    RootCapture() = default;
    void adopt(_XImage* image);

    _XImage* image_ = nullptr;
    void* sharedMemory_ = nullptr;
    std::vector<uint32_t> converted_;  // only for servers whose pixels are laid out otherwise
    XrgbPixels pixels_;
};

}  // namespace quorlane

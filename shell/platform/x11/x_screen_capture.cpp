#include "shell/platform/x11/x_screen_capture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/mman.h>
#include <sys/shm.h>
#include <unistd.h>

#include <cstdint>

#include "shell/platform/x11/x_monitors.h"

namespace quorlane {

namespace {

// Each channel of a pixel scaled to 8 bits by its mask.
uint32_t xrgbOf(const XImage& image, unsigned long pixel) {
    uint32_t out = 0;
    int shift = 16;
    for (unsigned long mask : {image.red_mask, image.green_mask, image.blue_mask}) {
        if (mask != 0) {
            const int low = __builtin_ctzl(mask);
            const unsigned long max = mask >> low;
            out |= static_cast<uint32_t>(((pixel & mask) >> low) * 255 / max) << shift;
        }
        shift -= 8;
    }
    return out;
}

// Attaches a shared segment to the server and reads the rectangle into it.
XImage* grabShared(Display* display, Window root, const ScreenRect& rect, void** memory) {
    if (!XShmQueryExtension(display)) return nullptr;
    const int screen = DefaultScreen(display);
    auto* segment = new XShmSegmentInfo{};
    XImage* image = XShmCreateImage(display, DefaultVisual(display, screen),
                                    static_cast<unsigned>(DefaultDepth(display, screen)), ZPixmap,
                                    nullptr, segment, static_cast<unsigned>(rect.width),
                                    static_cast<unsigned>(rect.height));
    if (image == nullptr) {
        delete segment;
        return nullptr;
    }
    bool ok = false;
    segment->shmid =
        shmget(IPC_PRIVATE, static_cast<std::size_t>(image->bytes_per_line) * image->height,
               IPC_CREAT | 0600);
    if (segment->shmid >= 0) {
        segment->shmaddr = static_cast<char*>(shmat(segment->shmid, nullptr, 0));
        if (segment->shmaddr != reinterpret_cast<char*>(-1)) {
            image->data = segment->shmaddr;
            segment->readOnly = False;
            const bool attached = XShmAttach(display, segment);
            XSync(display, False);
            // Once both sides hold it, it may be marked for removal: it then goes with the
            // last user even if this process dies.
            shmctl(segment->shmid, IPC_RMID, nullptr);
            if (attached) {
                ok = XShmGetImage(display, root, image, rect.x, rect.y, AllPlanes);
                XShmDetach(display, segment);
                XSync(display, False);
            }
            if (!ok) {
                shmdt(segment->shmaddr);
                image->data = nullptr;
            }
        } else {
            shmctl(segment->shmid, IPC_RMID, nullptr);
        }
    }
    if (!ok) {
        XDestroyImage(image);
        delete segment;
        return nullptr;
    }
    *memory = segment->shmaddr;
    delete segment;
    // The pixels are about to be read end to end: one call maps them all, instead of a fault
    // for every few pages (a hint: older kernels refuse it, and reading then faults as usual).
#ifdef MADV_POPULATE_READ
    const long page = sysconf(_SC_PAGESIZE);
    const auto start = reinterpret_cast<uintptr_t>(image->data) & ~static_cast<uintptr_t>(page - 1);
    const auto end = reinterpret_cast<uintptr_t>(image->data) +
                     static_cast<std::size_t>(image->bytes_per_line) * image->height;
    madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_READ);
#endif
    return image;
}

}  // namespace

ScreenRect primaryScreenRect(Display* display) {
    const int screen = DefaultScreen(display);
    const ScreenRect whole{0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
    const std::vector<Monitor> monitors = activeMonitors(display);
    const auto primary = primaryMonitorIndex(monitors);
    if (!primary) return whole;
    const MonitorRect& rect = monitors[*primary].rect;
    return {rect.x, rect.y, rect.width, rect.height};
}

std::unique_ptr<RootCapture> RootCapture::grab(Display* display, const ScreenRect& rect) {
    if (display == nullptr || rect.width <= 0 || rect.height <= 0) return nullptr;
    const Window root = DefaultRootWindow(display);
    std::unique_ptr<RootCapture> capture(new RootCapture);
    XImage* image = grabShared(display, root, rect, &capture->sharedMemory_);
    if (image == nullptr) {
        image = XGetImage(display, root, rect.x, rect.y, static_cast<unsigned>(rect.width),
                          static_cast<unsigned>(rect.height), AllPlanes, ZPixmap);
    }
    if (image == nullptr) return nullptr;
    capture->adopt(image);
    return capture;
}

std::unique_ptr<RootCapture> RootCapture::grabDrawable(Display* display, unsigned long drawable,
                                                       const ScreenRect& rect) {
    if (display == nullptr || drawable == 0 || rect.width <= 0 || rect.height <= 0) return nullptr;
    XImage* image = XGetImage(display, drawable, rect.x, rect.y, static_cast<unsigned>(rect.width),
                              static_cast<unsigned>(rect.height), AllPlanes, ZPixmap);
    if (image == nullptr) return nullptr;
    // A pixmap has no visual, so the image comes without channel masks: its pixels are laid
    // out as the screen's own visual's, whose depth it shares.
    if (image->red_mask == 0 && image->green_mask == 0 && image->blue_mask == 0) {
        const Visual* visual = DefaultVisual(display, DefaultScreen(display));
        image->red_mask = visual->red_mask;
        image->green_mask = visual->green_mask;
        image->blue_mask = visual->blue_mask;
    }
    std::unique_ptr<RootCapture> capture(new RootCapture);
    capture->adopt(image);
    return capture;
}

void RootCapture::adopt(XImage* image) {
    image_ = image;
    const bool direct = image->bits_per_pixel == 32 && image->byte_order == LSBFirst &&
                        image->red_mask == 0xff0000 && image->green_mask == 0xff00 &&
                        image->blue_mask == 0xff;
    if (direct) {
        pixels_ = {image->width, image->height, static_cast<std::size_t>(image->bytes_per_line),
                   reinterpret_cast<const uint8_t*>(image->data)};
        return;
    }
    converted_.resize(static_cast<std::size_t>(image->width) * image->height);
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            converted_[static_cast<std::size_t>(y) * image->width + x] =
                xrgbOf(*image, XGetPixel(image, x, y));
        }
    }
    pixels_ = {image->width, image->height, static_cast<std::size_t>(image->width) * 4,
               reinterpret_cast<const uint8_t*>(converted_.data())};
}

RootCapture::~RootCapture() {
    if (image_ == nullptr) return;
    if (sharedMemory_ != nullptr) {
        shmdt(sharedMemory_);
        image_->data = nullptr;  // not Xlib's to free
    }
    XDestroyImage(image_);
}

}  // namespace quorlane

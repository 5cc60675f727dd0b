#include "shell/platform/x11/x_framework_screenshot.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstring>

#include "common/x11/x_property.h"

namespace quorlane {

std::optional<ScreenRect> screenshotPartBehind(const ScreenRect& window, int pixmapWidth,
                                               int pixmapHeight) {
    if (pixmapWidth <= 0 || pixmapHeight <= 0 || window.width <= 0 || window.height <= 0) {
        return std::nullopt;
    }
    // Each direction alone: a window at least as large as the picture takes all of it.
    auto span = [](int position, int size, int pixmapSize) -> std::pair<int, int> {
        if (size >= pixmapSize) return {0, pixmapSize};
        const int from = std::clamp(position, 0, pixmapSize);
        const int to = std::clamp(position + size, 0, pixmapSize);
        return {from, to - from};
    };
    const auto [x, width] = span(window.x, window.width, pixmapWidth);
    const auto [y, height] = span(window.y, window.height, pixmapHeight);
    if (width <= 0 || height <= 0) return std::nullopt;
    return ScreenRect{x, y, width, height};
}

std::unique_ptr<RootCapture> frameworkScreenshot(Display* display, unsigned long window) {
    const Atom property = XInternAtom(display, "_SCREENSAVER_SCREENSHOT", False);
    const auto value = readXProperty(display, window, property, XA_PIXMAP, 1);
    const Pixmap pixmap =
        value && value->format == 32 && value->items.size() == 1 ? value->items[0] : None;
    if (pixmap == None) return nullptr;

    Window root = None, child = None;
    int pixmapX = 0, pixmapY = 0;
    unsigned pixmapWidth = 0, pixmapHeight = 0, border = 0, depth = 0;
    if (!XGetGeometry(display, pixmap, &root, &pixmapX, &pixmapY, &pixmapWidth, &pixmapHeight,
                      &border, &depth)) {
        return nullptr;
    }
    // Its pixels are read in the screen's own layout, which only a pixmap of the screen's
    // depth has (a framework's grab always is). One of another depth would come out black or
    // miscoloured: it counts as no screenshot at all.
    if (static_cast<int>(depth) != DefaultDepth(display, DefaultScreen(display))) return nullptr;
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes)) return nullptr;
    ScreenRect onRoot{0, 0, attributes.width, attributes.height};
    XTranslateCoordinates(display, window, attributes.root, 0, 0, &onRoot.x, &onRoot.y, &child);
    const auto part =
        screenshotPartBehind(onRoot, static_cast<int>(pixmapWidth), static_cast<int>(pixmapHeight));
    if (!part) return nullptr;
    return RootCapture::grabDrawable(display, pixmap, *part);
}

bool isOneColour(const XrgbPixels& pixels) {
    if (pixels.data == nullptr || pixels.width <= 0 || pixels.height <= 0) return true;
    uint32_t first = 0;
    std::memcpy(&first, pixels.data, 4);
    first &= 0xffffff;
    for (int y = 0; y < pixels.height; ++y) {
        const uint8_t* row = pixels.data + static_cast<std::size_t>(y) * pixels.stride;
        for (int x = 0; x < pixels.width; ++x) {
            uint32_t pixel = 0;
            std::memcpy(&pixel, row + static_cast<std::size_t>(x) * 4, 4);
            if ((pixel & 0xffffff) != first) return false;
        }
    }
    return true;
}

}  // namespace quorlane

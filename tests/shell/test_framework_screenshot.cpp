// Which part of a framework's screenshot lies behind its window, which screenshots are read,
// and when a capture shows nothing but a blank window.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstring>
#include <vector>

#include "shell/platform/x11/x_framework_screenshot.h"

namespace quorlane {
namespace {

TEST(FrameworkScreenshot, ThePartBehindTheWindow) {
    struct Case {
        const char* what;
        ScreenRect window;
        int pixmapWidth, pixmapHeight;
        std::optional<ScreenRect> part;
    };
    const Case cases[] = {
        {"a pixmap of the window's own size",
         {1920, 0, 1280, 1024},
         1280,
         1024,
         ScreenRect{0, 0, 1280, 1024}},
        {"the second monitor's window on the whole screen",
         {1920, 0, 1280, 1024},
         3200,
         1080,
         ScreenRect{1920, 0, 1280, 1024}},
        {"a preview inside the screen",
         {100, 50, 320, 240},
         1920,
         1080,
         ScreenRect{100, 50, 320, 240}},
        {"a window partly off the screen",
         {-20, 1000, 100, 200},
         1920,
         1080,
         ScreenRect{0, 1000, 80, 80}},
        {"a window larger than the picture takes it all",
         {0, 0, 2560, 1440},
         1920,
         1080,
         ScreenRect{0, 0, 1920, 1080}},
        {"a window wider only", {0, 100, 2560, 200}, 1920, 1080, ScreenRect{0, 100, 1920, 200}},
        {"a window beside the picture", {2000, 0, 100, 100}, 1920, 1080, std::nullopt},
        {"an empty pixmap", {0, 0, 100, 100}, 0, 1080, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto part = screenshotPartBehind(c.window, c.pixmapWidth, c.pixmapHeight);
        ASSERT_EQ(part.has_value(), c.part.has_value());
        if (!part) continue;
        EXPECT_EQ(part->x, c.part->x);
        EXPECT_EQ(part->y, c.part->y);
        EXPECT_EQ(part->width, c.part->width);
        EXPECT_EQ(part->height, c.part->height);
    }
}

// Only a pixmap of the screen's depth is read: one of another depth, whose pixels are not laid
// out as the screen's, counts as none rather than giving a black or miscoloured desktop.
TEST(FrameworkScreenshot, OnlyAScreenshotOfTheScreensDepthIsRead) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) GTEST_SKIP() << "needs an X display";
    ASSERT_EQ(DefaultDepth(display, DefaultScreen(display)), 24);
    const Window root = DefaultRootWindow(display);
    const Window window = XCreateSimpleWindow(display, root, 0, 0, 32, 16, 0, 0, 0);
    const Atom property = XInternAtom(display, "_SCREENSAVER_SCREENSHOT", False);
    for (const unsigned depth : {1u, 4u, 8u, 16u, 24u}) {
        SCOPED_TRACE(depth);
        const Pixmap pixmap = XCreatePixmap(display, root, 32, 16, depth);
        GC gc = XCreateGC(display, pixmap, 0, nullptr);
        XSetForeground(display, gc, 0x00c000 & ((1ul << depth) - 1));
        XFillRectangle(display, pixmap, gc, 0, 0, 32, 16);
        XFreeGC(display, gc);
        XChangeProperty(display, window, property, XA_PIXMAP, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&pixmap), 1);
        XSync(display, False);
        const auto capture = frameworkScreenshot(display, window);
        if (depth == 24) {
            ASSERT_TRUE(capture);
            uint32_t pixel = 0;
            std::memcpy(&pixel, capture->pixels().data, 4);
            EXPECT_EQ(pixel & 0xffffff, 0x00c000u);
        } else {
            EXPECT_FALSE(capture);
        }
        XFreePixmap(display, pixmap);
    }
    XDestroyWindow(display, window);
    XCloseDisplay(display);
}

TEST(FrameworkScreenshot, OneColourIsABlankScreenWhateverTheUnusedByte) {
    std::vector<uint32_t> pixels(6, 0xff000000);  // black, the unused byte set
    pixels[4] = 0x00000000;
    const XrgbPixels blank{3, 2, 12, reinterpret_cast<const uint8_t*>(pixels.data())};
    EXPECT_TRUE(isOneColour(blank));
    pixels[5] = 0x00000001;  // one pixel of the last row, off by one in blue
    EXPECT_FALSE(isOneColour(blank));
    // Padding past a row's end is not a pixel.
    std::vector<uint32_t> padded{0x336699, 0x336699, 0xffffff, 0x336699, 0x336699, 0xffffff};
    EXPECT_TRUE(isOneColour({2, 2, 12, reinterpret_cast<const uint8_t*>(padded.data())}));
}

}  // namespace
}  // namespace quorlane

// The desktop picture the show hands to the renderer: the BMP bytes written from 32-bit
// pixels, and the screen read straight from the X server, both held to what the toolkit's
// own grab and image writer produce, byte for byte.
#include <gtest/gtest.h>

// Qt first: the X headers define macros (Status, None) that Qt's headers trip over.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPixmap>
#include <QScreen>

#include <X11/Xlib.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "shell/platform/x11/x_connection.h"
#include "shell/platform/x11/x_screen_capture.h"
#include "shell/show/bmp_encoder.h"

namespace quorlane {
namespace {

std::string bytesOf(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// What the toolkit's BMP writer makes of an image: the file the show wrote before.
std::string toolkitBmp(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    EXPECT_TRUE(writer.write(image.convertToFormat(QImage::Format_RGB32)));
    return bytesOf(bytes);
}

XrgbPixels pixelsOf(const QImage& image) {
    return {image.width(), image.height(), static_cast<std::size_t>(image.bytesPerLine()),
            image.constBits()};
}

TEST(BmpEncoder, WritesHeadersAndBottomUpPaddedRows) {
    // Two pixels wide, two high: rows of 6 bytes padded to 8, the bottom row first.
    const uint32_t pixels[] = {0x00112233, 0x00445566,   // top
                               0x00a1b2c3, 0x00d4e5f6};  // bottom
    const std::string file = bmpFileOf({2, 2, 8, reinterpret_cast<const uint8_t*>(pixels)});
    const unsigned char expected[] = {
        'B',  'M',  70,   0,    0,    0,    0, 0, 0,    0,    54, 0, 0,    0,  // file header
        40,   0,    0,    0,    2,    0,    0, 0, 2,    0,    0,  0, 1,    0,
        24,   0,  // size, width, height, 24 bpp
        0,    0,    0,    0,    16,   0,    0, 0, 0xc4, 0x0e, 0,  0, 0xc4, 0x0e,
        0,    0,                                    // 3780 dots a metre
        0,    0,    0,    0,    0,    0,    0, 0,   // no colour table
        0xc3, 0xb2, 0xa1, 0xf6, 0xe5, 0xd4, 0, 0,   // bottom row, blue first
        0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0, 0};  // top row
    EXPECT_EQ(file, std::string(reinterpret_cast<const char*>(expected), sizeof expected));

    EXPECT_TRUE(bmpFileOf({}).empty());
    EXPECT_TRUE(bmpFileOf({0, 5, 0, reinterpret_cast<const uint8_t*>(pixels)}).empty());
    // Rows closer together than the width allows are refused, not read past.
    EXPECT_TRUE(bmpFileOf({2, 2, 4, reinterpret_cast<const uint8_t*>(pixels)}).empty());
}

// Every width modulo 8 (the pixels go in groups of eight), padded rows in the source, and
// pictures of the chosen kind whose density is their own.
TEST(BmpEncoder, MatchesTheToolkitWriterByteForByte) {
    std::mt19937 random(7);
    for (const auto& [width, height] : std::vector<std::pair<int, int>>{
             {1, 1},
             {2, 3},
             {3, 2},
             {4, 4},
             {5, 7},
             {6, 1},
             {7, 5},
             {8, 2},
             {9, 3},
             {11, 2},
             {12, 3},
             {15, 2},
             {16, 1},
             {33, 17},
             {1366, 3},
             {1366, 200}}) {  // the last one is encoded in several pieces
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
            for (int x = 0; x < width; ++x) line[x] = 0xff000000u | (random() & 0xffffff);
        }
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        EXPECT_EQ(bmpFileOf(pixelsOf(image)), toolkitBmp(image));
        image.setDotsPerMeterX(2835);
        image.setDotsPerMeterY(1181);
        EXPECT_EQ(bmpFileOf(pixelsOf(image), 2835, 1181), toolkitBmp(image));
    }
}

// A pattern with a colour per quarter and single pixels at the corners and edges, on the
// root window itself: what a user's desktop is to the capture.
void paintPattern(Display* display, const ScreenRect& screen) {
    const Window root = DefaultRootWindow(display);
    const GC gc = XCreateGC(display, root, 0, nullptr);
    const int halfW = screen.width / 2, halfH = screen.height / 2;
    const struct {
        unsigned long rgb;
        int x, y, w, h;
    } areas[] = {{0x3366cc, 0, 0, halfW, halfH},
                 {0xff8000, halfW, 0, screen.width - halfW, halfH},
                 {0x00ff7f, 0, halfH, halfW, screen.height - halfH},
                 {0x7f007f, halfW, halfH, screen.width - halfW, screen.height - halfH},
                 {0xffffff, 0, 0, 1, 1},
                 {0x010203, screen.width - 1, screen.height - 1, 1, 1},
                 {0xfefdfc, 1, 0, 1, 1},
                 {0x808080, 0, screen.height - 1, 1, 1}};
    for (const auto& area : areas) {
        XSetForeground(display, gc, area.rgb);  // TrueColor 24-bit: the pixel is 0xRRGGBB
        XFillRectangle(display, root, gc, screen.x + area.x, screen.y + area.y,
                       static_cast<unsigned>(area.w), static_cast<unsigned>(area.h));
    }
    XFreeGC(display, gc);
    XSync(display, False);
}

uint32_t bmpPixel(const std::string& file, int width, int height, int x, int y) {
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    const std::size_t at = 54 + static_cast<std::size_t>(height - 1 - y) * rowBytes + x * 3u;
    const auto* p = reinterpret_cast<const unsigned char*>(file.data() + at);
    return static_cast<uint32_t>(p[2] << 16 | p[1] << 8 | p[0]);
}

TEST(DesktopCapture, SharedMemoryCaptureGivesTheToolkitGrabsFile) {
    if (getenv("DISPLAY") == nullptr) GTEST_SKIP() << "needs an X display";
    const auto x = XConnection::open();
    ASSERT_TRUE(x);
    Display* display = x->display();
    const ScreenRect screen = primaryScreenRect(display);
    EXPECT_EQ(screen.x, 0);
    EXPECT_EQ(screen.y, 0);
    EXPECT_EQ(screen.width, 1920);
    EXPECT_EQ(screen.height, 1080);
    paintPattern(display, screen);

    const auto capture = RootCapture::grab(display, screen);
    ASSERT_TRUE(capture);
    const std::string ours = bmpFileOf(capture->pixels());
    ASSERT_EQ(ours.size(), 54u + 1920u * 1080u * 3u);
    EXPECT_EQ(bmpPixel(ours, 1920, 1080, 0, 0), 0xffffffu);
    EXPECT_EQ(bmpPixel(ours, 1920, 1080, 1, 0), 0xfefdfcu);
    EXPECT_EQ(bmpPixel(ours, 1920, 1080, 2, 0), 0x3366ccu);
    EXPECT_EQ(bmpPixel(ours, 1920, 1080, 959, 539), 0x3366ccu);
    EXPECT_EQ(bmpPixel(ours, 1920, 1080, 960, 539), 0xff8000u);
    EXPECT_EQ(bmpPixel(ours, 1920, 1080, 959, 540), 0x00ff7fu);
    EXPECT_EQ(bmpPixel(ours, 1920, 1080, 960, 540), 0x7f007fu);
    EXPECT_EQ(bmpPixel(ours, 1920, 1080, 0, 1079), 0x808080u);
    EXPECT_EQ(bmpPixel(ours, 1920, 1080, 1919, 1079), 0x010203u);

    // The way the show used to go: the toolkit's grab of the primary screen, its writer.
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    const QImage grabbed = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    ASSERT_EQ(grabbed.size(), QSize(1920, 1080));
    const std::string theirs = toolkitBmp(grabbed);
    ASSERT_EQ(ours.size(), theirs.size());
    EXPECT_EQ(ours.substr(0, 54), theirs.substr(0, 54));  // headers, density included
    EXPECT_TRUE(ours.compare(54, std::string::npos, theirs, 54) == 0) << "the pixels differ";
}

// A part of the screen away from the corner, as a primary monitor right of another one is.
TEST(DesktopCapture, ReadsTheRectangleItIsGiven) {
    if (getenv("DISPLAY") == nullptr) GTEST_SKIP() << "needs an X display";
    const auto x = XConnection::open();
    ASSERT_TRUE(x);
    paintPattern(x->display(), {0, 0, 1920, 1080});
    const auto capture = RootCapture::grab(x->display(), {958, 538, 4, 3});
    ASSERT_TRUE(capture);
    const XrgbPixels pixels = capture->pixels();
    ASSERT_EQ(pixels.width, 4);
    ASSERT_EQ(pixels.height, 3);
    auto at = [&](int px, int py) {
        uint32_t value = 0;
        std::memcpy(&value, pixels.data + py * pixels.stride + px * 4, 4);
        return value & 0xffffff;
    };
    EXPECT_EQ(at(1, 1), 0x3366ccu);
    EXPECT_EQ(at(2, 1), 0xff8000u);
    EXPECT_EQ(at(1, 2), 0x00ff7fu);
    EXPECT_EQ(at(3, 2), 0x7f007fu);
    EXPECT_FALSE(RootCapture::grab(x->display(), {0, 0, 0, 10}));
}

}  // namespace
}  // namespace quorlane

// Runs the built Quorlane.scr as Windows runs a screensaver, under Wine on the test's X
// display: "/s" captures the desktop (here two coloured windows of the test's own) into the
// user's desktop picture, starts the renderer beside it, and ends when Escape ends that.
#include <windows.h>
// windows.h first; the test framework after it.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/desktop_image_location.h"
#include "common/little_endian.h"
#include "tests/windows/wine_screen.h"

namespace quorlane {
namespace {

using testing::captureScreen;
using testing::pictureColour;
using testing::press;
using testing::Screen;
using testing::share;
using testing::waitFor;

constexpr char kShell[] = QUORLANE_BIN_DIR "/Quorlane.scr";
constexpr char kShots[] = QUORLANE_TEST_OUTPUT_DIR;

// A plain window of one colour, painted by its class's brush.
HWND colourWindow(const char* className, COLORREF colour, int x, int width, int height,
                  DWORD style = 0) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(colour);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, className, className, WS_POPUP | WS_VISIBLE | style, x, 0,
                                  width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
    UpdateWindow(window);
    return window;
}

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t little32(const std::vector<uint8_t>& bytes, size_t at) {
    return readLittle32(bytes.data() + at);
}

// The blue, green and red bytes of a pixel of a 24-bit bottom-up BMP.
std::vector<uint8_t> bmpPixel(const std::vector<uint8_t>& bmp, int x, int y) {
    const int width = int(little32(bmp, 18));
    const int height = int(little32(bmp, 22));
    const size_t stride = (size_t(width) * 3 + 3) / 4 * 4;
    const size_t at = little32(bmp, 10) + size_t(height - 1 - y) * stride + size_t(x) * 3;
    return {bmp[at], bmp[at + 1], bmp[at + 2]};
}

// The share of the screen that no longer shows the test's own red and blue halves.
double changedShare(const Screen& screen) {
    size_t changed = 0;
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            const uint32_t flat = x < screen.width / 2 ? 0xff0000 : 0x0000ff;
            changed += (screen.pixels[size_t(y) * screen.width + x] & 0xffffff) != flat;
        }
    }
    return screen.pixels.empty() ? 0.0 : double(changed) / double(screen.pixels.size());
}

class ShellUnderWine : public ::testing::Test {
protected:
    void SetUp() override {
        width_ = GetSystemMetrics(SM_CXSCREEN);
        height_ = GetSystemMetrics(SM_CYSCREEN);
        location_ = desktopImageLocation();
        ASSERT_FALSE(location_.folder.empty());
        DeleteFileA(location_.file.c_str());
        // The desktop the user leaves: red on the left half, blue on the right.
        left_ = colourWindow("QuorlaneTestRed", RGB(255, 0, 0), 0, width_ / 2, height_);
        right_ = colourWindow("QuorlaneTestBlue", RGB(0, 0, 255), width_ / 2, width_ - width_ / 2,
                              height_);
        ASSERT_TRUE(waitFor([&] {
            const Screen screen = captureScreen();
            return share(screen, pictureColour) > 0.99;
        }));
    }
    void TearDown() override {
        for (PROCESS_INFORMATION* process : {&show_, &second_}) testing::endProcess(*process);
        DestroyWindow(left_);
        DestroyWindow(right_);
    }

    bool start(PROCESS_INFORMATION& process, const char* arguments) {
        return testing::startProgram(kShell, arguments, process);
    }

    // The process's exit code once it has ended by itself.
    DWORD endedWith(const PROCESS_INFORMATION& process) { return testing::waitForExit(process); }

    int width_ = 0, height_ = 0;
    DesktopImageLocation location_;
    HWND left_ = nullptr, right_ = nullptr;
    PROCESS_INFORMATION show_{}, second_{};
};

TEST_F(ShellUnderWine, AShowCoversTheScreenWithTheCapturedDesktopUntilEscape) {
    ASSERT_TRUE(start(show_, "/s")) << GetLastError();
    HWND renderer = nullptr;
    ASSERT_TRUE(
        waitFor([&] { return (renderer = FindWindowA(nullptr, "Torvane_VC")) != nullptr; }));
    EXPECT_NE(FindWindowA(nullptr, "Vantorel_Main"), nullptr);

    // The picture file was written before the renderer started: the screen as it was.
    const std::vector<uint8_t> bmp = fileBytes(location_.file);
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(little32(bmp, 18), uint32_t(width_));
    EXPECT_EQ(little32(bmp, 22), uint32_t(height_));
    EXPECT_EQ(bmp[28], 24);  // bits per pixel
    EXPECT_EQ(bmpPixel(bmp, 10, 10), (std::vector<uint8_t>{0, 0, 255}));
    EXPECT_EQ(bmpPixel(bmp, width_ - 10, height_ - 10), (std::vector<uint8_t>{255, 0, 0}));

    // A second start while the show runs ends at once and starts nothing.
    ASSERT_TRUE(start(second_, "/s"));
    EXPECT_EQ(endedWith(second_), 0u);

    // The renderer covers the screen and flies through the maze with that picture on it.
    RECT area{};
    EXPECT_TRUE(waitFor([&] {
        GetWindowRect(renderer, &area);
        return area.left == 0 && area.top == 0 && area.right == width_ && area.bottom == height_;
    }));
    Screen shown;
    EXPECT_TRUE(waitFor([&] {
        shown = captureScreen();
        // The maze's walls in the picture's colours, over most of the screen in place of the
        // test's flat halves.
        return share(shown, pictureColour) > 0.5 && changedShare(shown) > 0.5;
    })) << share(shown, pictureColour)
        << " " << changedShare(shown);
    testing::saveScreen(shown, kShots, "show-under-wine.bmp");

    SetForegroundWindow(renderer);
    press(VK_ESCAPE);
    EXPECT_EQ(endedWith(show_), 0u);
    EXPECT_EQ(FindWindowA(nullptr, "Torvane_VC"), nullptr);
    EXPECT_EQ(FindWindowA(nullptr, "Vantorel_Main"), nullptr);
}

// The settings beside the program, as a copy unpacked anywhere keeps them; removed again after.
class ShellWithSettings : public ShellUnderWine {
protected:
    const std::string ini_ = QUORLANE_BIN_DIR "/Quorlane.ini";
    void TearDown() override {
        ShellUnderWine::TearDown();
        DeleteFileA(ini_.c_str());
    }
    void writeSettings(const std::string& pictureFile, const std::string& musicFile) {
        // Keys in code page 932: picture mode, picture file, music mode, music file.
        std::ofstream(ini_, std::ios::binary)
            << "[Section]\r\n\x89\xE6\x91\x9C=1\r\n\x89\xE6\x91\x9C\xCC\xA7\xB2\xD9=" << pictureFile
            << "\r\nBGM\x8B\xE6\x95\xAA=2\r\nBGM\xCC\xA7\xB2\xD9=" << musicFile << "\r\n";
    }
};

TEST_F(ShellWithSettings, AChosenJpegIsTheShowsPictureAndMusicThatCannotPlayBlocksNothing) {
    // The built-in preview still is a 120 x 90 JPEG; no sound device answers under Wine.
    writeSettings(QUORLANE_SOURCE_DIR "\\shell\\assets\\preview_still.jpg",
                  QUORLANE_SOURCE_DIR "\\tests\\music\\fixtures\\tone-880hz.mp3");
    ASSERT_TRUE(start(show_, "/s")) << GetLastError();
    HWND renderer = nullptr;
    ASSERT_TRUE(
        waitFor([&] { return (renderer = FindWindowA(nullptr, "Torvane_VC")) != nullptr; }));
    const std::vector<uint8_t> bmp = fileBytes(location_.file);
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(little32(bmp, 18), 120u);
    EXPECT_EQ(little32(bmp, 22), 90u);
    EXPECT_EQ(bmp[28], 24);
    // Escape once the renderer is up and has the keyboard, as a user would press it.
    EXPECT_TRUE(waitFor([&] {
        RECT area{};
        GetWindowRect(renderer, &area);
        return area.right == width_ && area.bottom == height_ && GetForegroundWindow() == renderer;
    }));
    SetForegroundWindow(renderer);
    press(VK_ESCAPE);
    EXPECT_EQ(endedWith(show_), 0u);
}

TEST_F(ShellUnderWine, APreviewIsAChildCoveringTheHostsAreaUntilTheHostGoes) {
    // A host of the settings page's size, grey until the preview covers it.
    // As the settings page's preview control, it leaves its children's area to them.
    HWND host = colourWindow("QuorlaneTestHost", RGB(128, 128, 128), 40, 152, 112, WS_CLIPCHILDREN);
    SetWindowPos(host, HWND_TOPMOST, 40, 40, 152, 112, SWP_SHOWWINDOW);
    ASSERT_TRUE(
        start(show_, ("/p " + std::to_string(reinterpret_cast<std::intptr_t>(host))).c_str()));
    HWND preview = nullptr;
    ASSERT_TRUE(waitFor([&] {
        return (preview = FindWindowExA(host, nullptr, nullptr, "Preview Window")) != nullptr;
    }));
    RECT area{};
    EXPECT_TRUE(waitFor([&] {
        GetWindowRect(preview, &area);
        return area.left == 40 && area.top == 40 && area.right == 40 + 152 &&
               area.bottom == 40 + 112;
    })) << area.left
        << "," << area.top << " " << area.right << "x" << area.bottom;
    EXPECT_TRUE(waitFor([&] { return IsWindowVisible(preview) != FALSE; }));

    // (What the child draws is not checked here: Wine does not show a child window of another
    // process on screen, whatever it paints.)

    DestroyWindow(host);
    EXPECT_EQ(endedWith(show_), 0u);
}

TEST_F(ShellUnderWine, CommandLinesThatAskForNoShowEndAtOnce) {
    for (const char* arguments : {"/x", "/p 0", "/p 123456"}) {
        ASSERT_TRUE(start(show_, arguments));
        EXPECT_EQ(endedWith(show_), 0u) << arguments;
        EXPECT_EQ(FindWindowA(nullptr, "Vantorel_Main"), nullptr) << arguments;
        CloseHandle(show_.hProcess);
        CloseHandle(show_.hThread);
        show_ = {};
    }
}

}  // namespace
}  // namespace quorlane

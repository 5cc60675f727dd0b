// Runs the built Quorlane.dll as Windows runs it, under Wine on the test's X display, and
// drives it as a user would: it must cover the screen with the maze and the desktop picture
// from the user's own folder, ignore other keys, and end with code 0 on Escape.
#include <windows.h>
// windows.h first; the test framework after it.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/desktop_image_location.h"
#include "tests/pictures/bmp_writer.h"

namespace quorlane {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr char kRenderer[] = QUORLANE_BIN_DIR "/Quorlane.dll";
constexpr char kShots[] = QUORLANE_TEST_OUTPUT_DIR;

// Polls until the condition holds; the limit only stops a test whose program hangs.
bool waitFor(const std::function<bool()>& condition, std::chrono::seconds limit = 90s) {
    const auto end = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() > end) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

struct Screen {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first
};

// What the user sees: the whole screen, read back through GDI.
Screen captureScreen() {
    Screen screen;
    screen.width = GetSystemMetrics(SM_CXSCREEN);
    screen.height = GetSystemMetrics(SM_CYSCREEN);
    HDC desktop = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(desktop);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = screen.width;
    info.bmiHeader.biHeight = -screen.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, screen.width, screen.height, desktop, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* first = static_cast<const uint32_t*>(bits);
        screen.pixels.assign(first, first + size_t(screen.width) * size_t(screen.height));
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, desktop);
    return screen;
}

void saveScreen(const Screen& screen, const std::string& name) {
    testing::writeBmpFile(std::string(kShots) + "/" + name, screen.width, screen.height,
                          [&](int x, int y) {
                              const uint32_t p = screen.pixels[size_t(y) * screen.width + x];
                              return testing::Rgb{uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)};
                          });
}

// The share of the screen whose pixels pass the test.
double share(const Screen& screen, const std::function<bool(int r, int g, int b)>& test) {
    if (screen.pixels.empty()) return 0.0;
    size_t count = 0;
    for (uint32_t p : screen.pixels)
        count += test(int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255));
    return double(count) / double(screen.pixels.size());
}

// The picture's colours, red and blue (the maze's lighting darkens them, never greens them).
bool pictureColour(int r, int g, int b) { return g < 64 && (r > 96 || b > 96); }
// The maze without a picture: white and grey surfaces.
bool plainColour(int r, int g, int b) {
    return r > 48 && std::abs(r - g) < 24 && std::abs(g - b) < 24;
}

void press(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

class RendererUnderWine : public ::testing::Test {
protected:
    void SetUp() override {
        location_ = desktopImageLocation();
        ASSERT_FALSE(location_.folder.empty());
        CreateDirectoryA(location_.folder.c_str(), nullptr);
        DeleteFileA(location_.file.c_str());
    }
    void TearDown() override {
        if (process_.hProcess != nullptr) {
            TerminateProcess(process_.hProcess, 1);
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
    }

    void writePicture() {
        // Left half red, right half blue, at the screen's size, as the shell writes it.
        const int width = GetSystemMetrics(SM_CXSCREEN);
        const int height = GetSystemMetrics(SM_CYSCREEN);
        ASSERT_TRUE(testing::writeBmpFile(location_.file, width, height, [&](int x, int) {
            return x < width / 2 ? testing::Rgb{255, 0, 0} : testing::Rgb{0, 0, 255};
        }));
    }

    // Starts the renderer as the shell does: by path, with no arguments; waits until its
    // window covers the screen.
    HWND start() {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        char commandLine[] = "Quorlane.dll";
        EXPECT_TRUE(CreateProcessA(kRenderer, commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process_))
            << kRenderer << ": " << GetLastError();
        HWND window = nullptr;
        EXPECT_TRUE(
            waitFor([&] { return (window = FindWindowA(nullptr, "Torvane_VC")) != nullptr; }));
        RECT area{};
        EXPECT_TRUE(waitFor([&] {
            GetWindowRect(window, &area);
            return area.left == 0 && area.top == 0 && area.right == GetSystemMetrics(SM_CXSCREEN) &&
                   area.bottom == GetSystemMetrics(SM_CYSCREEN);
        })) << area.left
            << "," << area.top << " " << area.right << "x" << area.bottom;
        return window;
    }

    bool running() const {
        DWORD code = 0;
        return GetExitCodeProcess(process_.hProcess, &code) && code == STILL_ACTIVE;
    }

    // Escape ends the renderer at once, with exit code 0, and its window goes with it.
    void endWithEscape(HWND window) {
        SetForegroundWindow(window);
        press(VK_ESCAPE);
        ASSERT_EQ(WaitForSingleObject(process_.hProcess, 30000), WAIT_OBJECT_0);
        DWORD code = 1;
        GetExitCodeProcess(process_.hProcess, &code);
        EXPECT_EQ(code, 0u);
        EXPECT_EQ(FindWindowA(nullptr, "Torvane_VC"), nullptr);
    }

    DesktopImageLocation location_;
    PROCESS_INFORMATION process_{};
};

TEST_F(RendererUnderWine, FliesThroughTheMazeCoveredWithThePictureUntilEscape) {
    writePicture();
    HWND window = start();
    ASSERT_NE(window, nullptr);

    Screen first;
    EXPECT_TRUE(waitFor([&] {
        first = captureScreen();
        return share(first, pictureColour) > 0.5;
    })) << "picture colours on "
        << share(first, pictureColour) << " of the screen";
    saveScreen(first, "renderer-under-wine.bmp");

    // Another key changes nothing: the flight goes on (the view moves) and the program runs.
    SetForegroundWindow(window);
    press('A');
    press(VK_SPACE);
    Screen later;
    EXPECT_TRUE(waitFor([&] {
        later = captureScreen();
        return later.pixels != first.pixels;
    }));
    EXPECT_TRUE(running());

    endWithEscape(window);
}

TEST_F(RendererUnderWine, WithoutAPictureTheMazeIsPlain) {
    HWND window = start();
    ASSERT_NE(window, nullptr);
    Screen screen;
    EXPECT_TRUE(waitFor([&] {
        screen = captureScreen();
        return share(screen, plainColour) > 0.5;
    })) << "plain colours on "
        << share(screen, plainColour) << " of the screen";
    EXPECT_LT(share(screen, pictureColour), 0.01);
    saveScreen(screen, "renderer-under-wine-no-picture.bmp");
    endWithEscape(window);
}

}  // namespace
}  // namespace quorlane

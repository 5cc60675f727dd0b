// Runs the built Quorlane.dll as Windows runs it, under Wine on the test's X display, and
// drives it as a user would: it must cover the screen with the maze and the desktop picture
// from the user's own folder, ignore other keys, and end with code 0 on Escape.
#include <windows.h>
// windows.h first; the test framework after it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/desktop_image_location.h"
#include "tests/pictures/bmp_writer.h"
#include "tests/windows/wine_screen.h"

namespace quorlane {
namespace {

using testing::captureScreen;
using testing::pictureColour;
using testing::press;
using testing::Screen;
using testing::share;
using testing::waitFor;

constexpr char kRenderer[] = QUORLANE_BIN_DIR "/Quorlane.dll";
constexpr char kShots[] = QUORLANE_TEST_OUTPUT_DIR;

// The maze without a picture: white and grey surfaces.
bool plainColour(int r, int g, int b) {
    return r > 48 && std::abs(r - g) < 24 && std::abs(g - b) < 24;
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
    testing::saveScreen(first, kShots, "renderer-under-wine.bmp");

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
    testing::saveScreen(screen, kShots, "renderer-under-wine-no-picture.bmp");
    endWithEscape(window);
}

}  // namespace
}  // namespace quorlane

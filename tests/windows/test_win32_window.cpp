// The window base every Win32 window of the shell is made as: its object hears the window from
// the making on, forgets a window destroyed from outside, and takes its window with it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "shell/platform/win32/win32_window.h"

namespace quorlane {
namespace {

struct Heard {
    std::vector<UINT> messages;
    HWND atCreate = nullptr;  // what the object knew as its window at WM_CREATE
    bool has(UINT message) const {
        return std::find(messages.begin(), messages.end(), message) != messages.end();
    }
};

class RecordingWindow : public Win32Window {
public:
    RecordingWindow(Heard& heard, HWND parent) : heard_(heard) {
        Win32WindowClass recording;
        recording.name = "QuorlaneRecordingWindow";
        create(recording, 0, "", parent != nullptr ? WS_CHILD : WS_POPUP, {0, 0, 10, 10}, parent);
    }

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        heard_.messages.push_back(message);
        if (message == WM_CREATE) heard_.atCreate = window();
        return Win32Window::handle(message, wParam, lParam);
    }

private:
    Heard& heard_;
};

TEST(Win32Window, HearsItsWindowFromTheMakingAndForgetsOneItsParentTookAlong) {
    Heard parentHeard;
    Heard childHeard;
    auto parent = std::make_unique<RecordingWindow>(parentHeard, nullptr);
    const HWND parentWindow = parent->window();
    ASSERT_NE(parentWindow, nullptr);
    ASSERT_FALSE(parentHeard.messages.empty());
    EXPECT_EQ(parentHeard.messages.front(), UINT(WM_NCCREATE));
    EXPECT_EQ(parentHeard.atCreate, parentWindow);

    RecordingWindow child(childHeard, parentWindow);
    const HWND childWindow = child.window();
    ASSERT_TRUE(IsWindow(childWindow));
    EXPECT_EQ(GetParent(childWindow), parentWindow);

    // The parent's object goes first and takes its window; the child's window goes with it,
    // telling its own object, which then has no window left to destroy.
    parent.reset();
    EXPECT_FALSE(IsWindow(parentWindow));
    EXPECT_FALSE(IsWindow(childWindow));
    EXPECT_TRUE(childHeard.has(WM_DESTROY));
    EXPECT_TRUE(childHeard.has(WM_NCDESTROY));
    EXPECT_EQ(child.window(), nullptr);
}

TEST(Win32Window, AWindowOfTheSameClassMadeAgainIsHeardByItsOwnObject) {
    // The class is registered by the first window; the second registration fails harmlessly
    // and each window still reaches its own object.
    Heard first;
    Heard second;
    RecordingWindow one(first, nullptr);
    RecordingWindow two(second, nullptr);
    ASSERT_NE(one.window(), nullptr);
    ASSERT_NE(two.window(), nullptr);
    const std::size_t before = first.messages.size();
    SendMessageA(two.window(), WM_USER + 7, 0, 0);
    EXPECT_TRUE(second.has(WM_USER + 7));
    EXPECT_EQ(first.messages.size(), before);
}

}  // namespace
}  // namespace quorlane

#pragma once
// The Windows services the shell's start-up and show ask of the desktop: top-level windows by
// title, the program's own folder, the one show at a time, the cursor and the screen.
//
// Supports: FindWindowA, a named mutex per session, ShowCursor, GetDesktopWindow and BitBlt
//   into 32-bit pixels, the primary monitor.
// Does not: several monitors in one capture, other sessions' shows.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/core/cursor_display_count.h"
#include "shell/core/xrgb_pixels.h"

namespace quorlane {

bool topLevelWindowExists(const std::string& title);
// The top-level window of that title restored if minimised, raised and given the focus, as a
// user who lost it would want it back.
void bringBackWindow(const std::string& title);
// Whether the number is a window's handle (the host a preview draws into).
bool isExistingWindow(std::intptr_t handle);

// The folder of Quorlane.scr, without a trailing "\" but for a drive's root.
std::string runningProgramFolder();

// Makes the folder if it is not there; true when it is a folder now.
bool makeFolder(const std::string& folder);

// Of shows and settings dialogs started at the same instant in a session, exactly one holds
// the claim, until its process ends.
bool claimDisplay();

// The cursor hidden and shown through ShowCursor, which keeps its own count beneath ours.
class Win32Cursor : public CursorVisibility {
public:
    void setCursorVisible(bool visible) override;
};

// The primary screen's size in pixels.
struct ScreenSize {
    int width = 0, height = 0;
};
ScreenSize primaryScreenSize();

// One capture of the desktop window's top left (the primary screen), held in memory.
class DesktopCapture {
public:
    // Null when the screen cannot be read.
    static std::unique_ptr<DesktopCapture> grab(ScreenSize size);
    XrgbPixels pixels() const;

private:
    int width_ = 0, height_ = 0;
    std::vector<uint32_t> pixels_;
};

}  // namespace quorlane

#pragma once
// A display count for the mouse cursor, as the desktop keeps it for each program: every
// hide lowers it, every show raises it, and the cursor is visible while it is 0 or more.
// Only crossing that line touches the window system.
#include <cstdint>

namespace quorlane {

class CursorVisibility {
public:
    virtual ~CursorVisibility() = default;
    virtual void setCursorVisible(bool visible) = 0;
};

class CursorDisplayCount {
public:
    explicit CursorDisplayCount(CursorVisibility& cursor) : cursor_(cursor) {}

    // show != 0 raises the count, 0 lowers it; returns the new count.
    int32_t showCursor(int32_t show);
    int32_t count() const { return count_; }

private:
    CursorVisibility& cursor_;
    int32_t count_ = 0;
};

}  // namespace quorlane

#include "shell/core/cursor_display_count.h"

namespace quorlane {

int32_t CursorDisplayCount::showCursor(int32_t show) {
    const bool wasVisible = count_ >= 0;
    if (show != 0) {
        if (count_ < INT32_MAX) ++count_;
    } else {
        if (count_ > INT32_MIN) --count_;
    }
    const bool visible = count_ >= 0;
    if (visible != wasVisible) cursor_.setCursorVisible(visible);
    return count_;
}

}  // namespace quorlane

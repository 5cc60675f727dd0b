#pragma once
// Hides and shows the pointer over the whole screen. The X server undoes the hiding by
// itself when the connection closes, so a shell that dies cannot leave the cursor hidden.
//
// Supports: XFixes hide and show on the root window.
// Does not: servers without XFixes (the cursor then stays visible), per-window cursors.
#include "shell/core/cursor_display_count.h"

typedef struct _XDisplay Display;

namespace quorlane {

class XFixesCursor : public CursorVisibility {
public:
    explicit XFixesCursor(Display* display) : display_(display) {}
    void setCursorVisible(bool visible) override;

private:
    Display* display_;
};

}  // namespace quorlane

#pragma once
// The renderer's window on Windows, over Win32 and WGL (Debian ships no GLUT for MinGW): one
// double-buffered window with a depth buffer, "Torvane_VC", opened where the placement says and
// then made to cover its monitor without frame or caption, the cursor hidden over it. Behaves
// as GLUT does there: the window size is the client area's, the viewport is the whole window,
// closing the window ends the show. Windows has no window manager to ask about full screen.
#include "renderer/core/front_end.h"
#include "renderer/core/window_placement.h"

namespace quorlane {

class WglFullScreen final : public FrontEnd {
public:
    explicit WglFullScreen(const WindowPlacement& placement);

    // False, with a line on standard error, when no window or GL context can be made.
    bool open() override;
    [[noreturn]] void run(Show& show) override;

private:
    WindowPlacement placement_;
};

}  // namespace quorlane

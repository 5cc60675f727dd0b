#pragma once
// The renderer inside a window it did not make: a screensaver framework's, or a preview's.
// GLUT can only draw into windows of its own, so this front end opens the display and runs
// the frame loop itself. It maps, moves, raises and grabs nothing of the host's, reads no keys
// and leaves the cursor alone: the framework ends it (SIGTERM, or by destroying the window).
#include "renderer/core/front_end.h"

typedef struct _XDisplay Display;
typedef union _XEvent XEvent;

namespace quorlane {

// Draws into `window` (0: the root window) at its size, following it when it is resized,
// until the window is destroyed or the display goes; while the window cannot be seen
// (unmapped, or input only) it draws nothing and waits for the window's events. Opening fails
// (status 1) when the window is not there or cannot be drawn into with OpenGL.
class HostWindowFrontEnd final : public FrontEnd {
public:
    explicit HostWindowFrontEnd(unsigned long window);

    bool open() override;
    [[noreturn]] void run(Show& show) override;

private:
    bool canBeSeen() const;
    // Takes in one of the host's events: whether it can be seen, its size, its end.
    void follow(const XEvent& event);

    unsigned long window_;
    Display* display_ = nullptr;
    unsigned long host_ = 0;
    unsigned long target_ = 0;
    int width_ = 0, height_ = 0;
    bool seen_ = false;
};

}  // namespace quorlane

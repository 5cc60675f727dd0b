#pragma once
// The renderer's own window through freeglut: "Torvane_VC", opened where the placement says,
// made full screen (or, without a manager that does full screen, given its monitor's
// rectangle), the cursor hidden over it. freeglut ends the process itself when it cannot open
// the window or the window is closed.
#include "renderer/core/front_end.h"
#include "renderer/core/window_placement.h"

namespace quorlane {

class GlutFullScreen final : public FrontEnd {
public:
    // argc and argv are the program's, for glutInit.
    GlutFullScreen(int& argc, char** argv, const WindowPlacement& placement);

    bool open() override;
    [[noreturn]] void run(Show& show) override;

private:
    int& argc_;
    char** argv_;
    WindowPlacement placement_;
};

}  // namespace quorlane

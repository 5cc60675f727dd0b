#pragma once
// Where the renderer's window opens and how it comes to cover its monitor. Alone, it opens
// at 800 x 600 in the screen's corner and goes full screen. Given one monitor of several, it
// opens on that monitor; a window manager then makes it full screen there (the entry puts it
// back should the manager pick an overlapping monitor instead), and without one
// the window takes the monitor's rectangle itself (GLUT's own full screen would spread it
// over every monitor).
#include <optional>

#include "common/monitor_geometry.h"

namespace quorlane {

struct WindowPlacement {
    int x = 0, y = 0, width = 800, height = 600;  // the window as it is created
    // Without a window manager that does full screen, the window takes this rectangle
    // instead of GLUT's full screen; nothing: full screen whatever runs.
    std::optional<MonitorRect> unmanaged;
};

WindowPlacement windowPlacement(const std::optional<MonitorRect>& monitor);

// The monitor named by the environment (kRendererMonitorVariable), if any and well formed.
std::optional<MonitorRect> monitorFromEnvironment();

}  // namespace quorlane

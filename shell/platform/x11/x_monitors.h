#pragma once
// The X server's RandR monitors, as `xrandr --listmonitors` shows them: a monitor the user
// split or joined counts as they set it.
#include <vector>

#include "common/monitor_geometry.h"

typedef struct _XDisplay Display;

namespace quorlane {

// The active monitors of the display's default screen, in the server's order; none when
// the server has no RandR 1.5 (the caller then takes the whole screen for one monitor).
std::vector<Monitor> activeMonitors(Display* display);

}  // namespace quorlane

// The Wayland part of Quorlane.scr (see shell_modules.h): the desktop's picture in a Wayland
// session, on libwayland-client, sd-bus and libpng.
#include "shell/platform/wayland/sway_placement.h"
#include "shell/platform/wayland/wayland_desktop_capture.h"
#include "shell/startup/shell_modules.h"

extern "C" const quorlane::WaylandModule quorlane_wayland_module = {
    quorlane::captureWaylandDesktop, quorlane::askScreenshotPermission,
    quorlane::placeWindowOnSwayOutput};

#pragma once
// Whether a running window manager makes windows full screen when asked (the desktop
// standard's _NET_WM_STATE_FULLSCREEN), which is when GLUT's full screen asks it to; and
// keeping a full-screen window on the monitor it was given.
//
// Supports: managers of the desktop standard (_NET_WM_STATE, _NET_MOVERESIZE_WINDOW) and the
//   Motif decoration hint. Does not: managers that refuse a client's own geometry.
#include "common/monitor_geometry.h"

typedef struct _XDisplay Display;

namespace quorlane {

bool managerDoesFullScreen(Display* display);
// The same for the display of the current GL context (none: false).
bool managerDoesFullScreen();

// Where monitors overlap, a manager may make the current GL window full screen on another
// monitor than the one it was opened on. Once it has (the window full screen, somewhere other
// than `monitor`), the window leaves the manager's full screen and covers its monitor itself:
// no frame, kept above, the monitor's rectangle. Whether it had to; cheap enough to ask often.
// The size the window opened at tells a window the manager has not made full screen yet.
bool keepOnMonitor(const MonitorRect& monitor, int openedWidth, int openedHeight);

}  // namespace quorlane

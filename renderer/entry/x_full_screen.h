#pragma once
// Whether a running window manager makes windows full screen when asked (the desktop
// standard's _NET_WM_STATE_FULLSCREEN), which is when GLUT's full screen asks it to.
typedef struct _XDisplay Display;

namespace quorlane {

bool managerDoesFullScreen(Display* display);
// The same for the display of the current GL context (none: false).
bool managerDoesFullScreen();

}  // namespace quorlane

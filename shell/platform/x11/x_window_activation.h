#pragma once
// Bringing a window of another process of ours back to the user: out of its minimised state,
// on top, with the keyboard focus.
//
// Supports: a window manager that follows _NET_ACTIVE_WINDOW (the request comes as from a
//   pager, which managers obey rather than treat as focus stealing), and none at all.
// Does not: windows on another screen or desktop being moved to the current one.
typedef struct _XDisplay Display;

namespace quorlane {

// Asks the window manager to restore, raise and focus the client window, and maps it raised
// for a server without one.
void bringWindowBack(Display* display, unsigned long window);

}  // namespace quorlane

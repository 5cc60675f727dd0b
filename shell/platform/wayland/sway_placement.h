#pragma once
// Puts an XWayland window full screen on a chosen output of sway. Sway opens every new window
// on the focused output, wherever the window asks to be, and a second full-screen window on an
// output takes the first one's place: the renderers of a show on several outputs would all
// pile up on one. Sway's own command socket moves each to its output.
//
// Supports: sway (SWAYSOCK), outputs named by the compositor (wl_output version 4), windows
//   found by their process id.
// Does not: other compositors' command sockets (GNOME and KDE place a full-screen X window on
//   the output under it, as the renderer asks).
#include <string>

namespace quorlane {

// Moves the window of process `pid` to the output whose top-left corner is (x, y) in the
// layout, and makes it full screen there. False while there is no such window yet, or when
// sway or the output cannot be reached (`why` then says so).
bool placeWindowOnSwayOutput(int pid, int x, int y, std::string& why);

}  // namespace quorlane

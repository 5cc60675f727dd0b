#pragma once
// The renderer inside a window it did not make: a screensaver framework's, or a preview's.
// GLUT can only draw into windows of its own, so this front end opens the display and runs
// the frame loop itself, over the same director, clock and maze as the full-screen one.
// It maps, moves, raises and grabs nothing of the host's, reads no keys and leaves the
// cursor alone: the framework ends it (SIGTERM, or by destroying the window).
#include <string>

namespace quorlane {

// Draws the flight into `window` (0: the root window) at its size, following it when it is
// resized, until the window is destroyed or the display goes; while the window cannot be seen
// (unmapped, or input only) it draws nothing and waits for the window's events. pictureFile is the
// desktop picture (empty: none). Returns the exit code: 0 when the window went, 1 when it could not
// be drawn into.
int runInHostWindow(unsigned long window, const std::string& pictureFile);

}  // namespace quorlane

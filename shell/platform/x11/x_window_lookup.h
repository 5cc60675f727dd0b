#pragma once
// Top-level windows by exact title, hidden ones included, on the shell's X connection.
//
// Supports: _NET_WM_NAME (UTF-8), WM_NAME (STRING or COMPOUND_TEXT), children of the root and
//   _NET_CLIENT_LIST under a window manager.
// Does not: partial titles, windows on other screens of the display, Wayland windows.
#include <cstdint>
#include <string>

typedef struct _XDisplay Display;

namespace quorlane {

// Looks at the window manager's client list, then at the root window's children (unmapped
// ones too) and down into the frames they may be, so that a window is found at every moment
// from its creation to its end. The title is _NET_WM_NAME, else WM_NAME.
bool topLevelWindowExists(Display* display, const std::string& title);
// The same search: the first such window (the client, not its frame), 0 when there is none.
unsigned long findTopLevelWindow(Display* display, const std::string& title);

// Whether the id names an existing window.
bool isExistingWindow(Display* display, uint32_t window);

}  // namespace quorlane

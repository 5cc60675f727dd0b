#pragma once
// XScreenSaver's "Grab Desktop Images" as its own programs read it: the user's ~/.xscreensaver,
// then the system's defaults /etc/X11/app-defaults/XScreenSaver
// (shell/core/desktop_grab_preference.h decides from their text).
//
// Supports: those two files, regular files only, read whole up to a size no settings file
//   reaches.
// Does not: settings loaded into the X resource database by hand (xrdb), which XScreenSaver's
//   manual advises against.
#include <string>

namespace quorlane {

// home: the user's home folder (empty: $HOME, else the password database's).
bool xscreensaverAllowsDesktop(const std::string& home = {});

}  // namespace quorlane

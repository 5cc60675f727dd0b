#pragma once
// The desktop's picture in a Wayland session, where XWayland's root window holds nothing:
// the compositor's screen copy where it offers one (a few milliseconds, no file), else the
// desktop portal's screenshot (a file the portal writes, read safely and removed).
#include <string>

#include "shell/core/decoded_picture.h"

namespace quorlane {

// False when neither way gives a picture; `failureLine` then says why and what to do.
bool captureWaylandDesktop(DecodedPicture& picture, std::string& failureLine);

// One non-interactive portal screenshot, asked while the settings dialog has the focus: a
// desktop that asks the user before a program's first screenshot (GNOME) asks now, and later
// shows capture without asking. The picture is thrown away. Nothing is asked where the desktop
// needs no answer or has a yes already. False with `why` when refused.
bool askScreenshotPermission(std::string& why);

}  // namespace quorlane

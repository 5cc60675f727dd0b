#pragma once
// The desktop portal's screenshot (org.freedesktop.portal.Screenshot) over the session bus:
// the way every desktop offers, KDE and GNOME included. The portal saves the picture to a
// file and answers with its URI.
//
// Supports: the session bus of DBUS_SESSION_BUS_ADDRESS (or the user's default), the request
//   and its Response signal, interactive or not.
// Does not: sandboxed callers' document portal paths, a parent window handle.
#include <chrono>
#include <string>

#include "shell/core/wayland_capture_outcome.h"

namespace quorlane {

struct PortalAnswer {
    PortalOutcome outcome = PortalOutcome::Failed;
    std::string uri;     // the picture's file, when Captured
    std::string detail;  // what went wrong, in a few words
};

// Asks for one screenshot and waits for the answer, at most `limit`.
PortalAnswer requestPortalScreenshot(bool interactive, std::chrono::milliseconds limit);

}  // namespace quorlane

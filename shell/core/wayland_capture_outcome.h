#pragma once
// How a show's desktop capture went in a Wayland session, where the X server's root window
// holds nothing: the compositor's own screen copy, then the desktop portal's screenshot. When
// neither gives a picture the show says why in one line, and what the user can do about it.
#include <string>
#include <string_view>

namespace quorlane {

enum class ScreencopyOutcome {
    Captured,
    NotOffered,  // no compositor to ask, or one without the screen-copy protocol
    Failed,      // offered, but the copy failed
};

enum class PortalOutcome {
    Captured,
    NoBus,       // no session bus
    NoPortal,    // nothing on the bus answers for screenshots
    Refused,     // the portal (or the user, or the desktop's permission) said no
    NotAllowed,  // not asked: the desktop would first ask the user, which a show cannot answer
    Failed,      // asked, but no usable picture came back
};

// The line for standard error when neither way gave a picture; `detail` says what failed last.
// A refusal is worth asking again through the settings dialog only on the desktops that keep
// the user's answer (`currentDesktops` as in XDG_CURRENT_DESKTOP).
std::string waylandCaptureFailureLine(ScreencopyOutcome screencopy, PortalOutcome portal,
                                      std::string_view detail, std::string_view currentDesktops);

}  // namespace quorlane

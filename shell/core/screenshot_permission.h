#pragma once
// Whether a screenshot through the desktop portal needs the user's answer first. GNOME's
// portal asks the user, in a dialog of its own, before a program's first screenshot without
// one, and keeps the answer in the portals' permission store. A show cannot answer (nobody is
// looking, and the question would wait under the show, then stay behind it), so there a show
// asks the portal only once the answer stored is yes; the settings dialog, which has the
// user's attention, is where the question is asked.
#include <string_view>

namespace quorlane {

enum class StoredScreenshotPermission {
    Allowed,
    Denied,    // an entry that says anything but yes
    NotAsked,  // no entry yet
    Unknown,   // no permission store answered
};

// From XDG_CURRENT_DESKTOP (desktop names separated by colons, matched as the portal matches
// them, whatever their case): whether the portal there asks before a first screenshot.
bool desktopAsksBeforeScreenshots(std::string_view currentDesktops);

// Whether a screenshot without a dialog would make the desktop ask the user first.
bool screenshotNeedsTheUsersAnswer(std::string_view currentDesktops,
                                   StoredScreenshotPermission stored);

}  // namespace quorlane

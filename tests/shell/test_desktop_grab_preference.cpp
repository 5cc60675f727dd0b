// XScreenSaver's "Grab Desktop Images" as read from its two files' text.
#include <gtest/gtest.h>

#include "shell/core/desktop_grab_preference.h"

namespace quorlane {
namespace {

TEST(DesktopGrabPreference, TheUsersFileThenTheSystemsThenOn) {
    struct Case {
        const char* name;
        std::optional<std::string> user, system;
        bool allowed;
    };
    const Case cases[] = {
        {"the user's file says off", "mode:\tone\ngrabDesktopImages:\tFalse\n", std::nullopt,
         false},
        {"the user's on beats the system's off", "grabDesktopImages: True\n",
         "*grabDesktopImages:\tFalse\n", true},
        {"Debian's defaults, no user file", std::nullopt, "*grabDesktopImages:\tFalse\n", false},
        {"a user file without it", "mode: one\n", "XScreenSaver.grabDesktopImages: no\n", false},
        {"X's other spellings", "  grabDesktopImages :  OFF \r\n", std::nullopt, false},
        {"comments and other names do not count",
         "# grabDesktopImages: False\n! grabDesktopImages: False\ngrabVideoFrames: False\n",
         std::nullopt, true},
        {"a value that is no boolean is ignored", "grabDesktopImages: maybe\n",
         "*grabDesktopImages: 0\n", false},
        {"neither file", std::nullopt, std::nullopt, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(desktopGrabAllowed(c.user, c.system), c.allowed) << c.name;
}

}  // namespace
}  // namespace quorlane

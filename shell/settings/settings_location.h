#pragma once
// Which folder holds the user's Quorlane.ini. A portable copy keeps it beside the program, as
// it always has; an installed copy in a folder the user cannot write keeps it in the user's
// own configuration folder instead, so that the user's choices are never lost.
#include <string>

namespace quorlane {

// The rule on explicit values (null or empty = unset):
//   - programFolder, when Quorlane.ini is already there or the user can write the folder;
//   - else $XDG_CONFIG_HOME/quorlane, else $HOME/.config/quorlane (relative values are
//     ignored, as the XDG rules say); that folder is created, so a save can land;
//   - else programFolder: there is nowhere better.
std::string settingsFolder(const std::string& programFolder, const char* configHome,
                           const char* home);

// The same rule on this process's environment. Pass the result wherever a settings folder is
// asked for (loadSettings, writeSettings): reading and saving then agree.
std::string settingsFolder(const std::string& programFolder);

}  // namespace quorlane

#pragma once
// Which folder holds the user's Quorlane.ini. A portable copy (a build tree, a folder unpacked
// in a home) keeps it beside the program, as it always has, or in the user's own
// configuration folder where it cannot write there. An installed copy keeps each user's
// settings in that user's own folder, root's too: a file beside programs every user runs
// would be every user's, and writable by root alone.
//
// Installed means that the install step put its marker beside the programs. A path rule
// (<prefix>/lib/quorlane) would misjudge a copy unpacked into such a folder in a home and
// an installation moved whole, which the quorlane command allows; the marker goes wherever
// the installed files go, and a build tree or an unpacked copy never has it.
#include <string>

namespace quorlane {

// The file the install step writes beside the programs.
inline constexpr const char* kInstalledMarker = "Quorlane.installed";

bool isInstalledCopy(const std::string& programFolder);

// The rule on explicit values (null or empty = unset):
//   - an installed copy: $XDG_CONFIG_HOME/quorlane, else $HOME/.config/quorlane;
//   - a portable one: programFolder, when Quorlane.ini is already there or the user can
//     write the folder, else the same folder of the user's own;
//   - the user's folder (relative values are ignored, as the XDG rules say) is created, so
//     a save can land; with none at all, programFolder: there is nowhere better.
std::string settingsFolder(const std::string& programFolder, const char* configHome,
                           const char* home);

// The same rule on this process's environment (the password database's home standing in for
// a missing $HOME). Pass the result wherever a settings folder is asked for (loadSettings,
// and settingsFilePath for saveSettings): reading and saving then agree.
std::string settingsFolder(const std::string& programFolder);

// An administrator's Quorlane.ini beside an installed copy, read as the defaults under each
// user's own file and never written; empty for a portable copy, whose file beside it is the
// user's own.
std::string settingsDefaultsFile(const std::string& programFolder);

}  // namespace quorlane

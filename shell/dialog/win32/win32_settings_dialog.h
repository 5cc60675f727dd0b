#pragma once
// The settings dialog "<Quorlane>" on Windows: Win32 windows painted with GDI over the same
// choices, geometry, saving and button behaviour as the Qt dialog. Windows only.
// Supports: the painted background and panels, the choices, the repeat box, the choosers
// (GetOpenFileName) starting in the user's Known Folders, the warning box, saving, the zoom
// (DrawAnimatedRects), the link to the product's page (ShellExecute).
// Scaled to the monitor's dots per inch when the dialog opens (the programs declare themselves
// aware of it per monitor): text drawn at that size, the artwork's pixels repeated.
// Does not: follow a move onto a monitor of other dots per inch (it keeps its size); Enter or
// Escape as buttons (as in the Qt dialog); a zoom where Windows' own
// animation is switched off (DrawAnimatedRects then draws nothing).
#include <string>

#include "shell/settings/settings_values.h"

namespace quorlane {

struct SettingsDialogFiles {
    std::string programFolder;  // start folder of the choosers when nothing else applies
    std::string settingsFile;   // where "設定" writes
    std::string page;           // the product's web page, which the link opens
    bool installed = false;     // a copy the user cannot write: the choosers start in the user's
                                // folders, not among the programs
};

// Shows the dialog and returns when it has closed, saved or not.
int runWin32SettingsDialog(SettingsValues& values, const SettingsDialogFiles& files);

}  // namespace quorlane

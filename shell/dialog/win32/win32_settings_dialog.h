#pragma once
// The settings dialog "<Quorlane>" on Windows: Win32 windows painted with GDI over the same
// choices, geometry, saving and button behaviour as the Qt dialog. Windows only.
// Supports: the painted background and panels, the choices, the repeat box, the choosers
// (GetOpenFileName), the warning box, saving, the zoom (DrawAnimatedRects), the README link.
// Does not: Enter or Escape as buttons (as in the Qt dialog); a zoom where Windows' own
// animation is switched off (DrawAnimatedRects then draws nothing).
#include <string>

#include "shell/settings/settings_values.h"

namespace quorlane {

struct SettingsDialogFiles {
    std::string programFolder;  // start folder of the choosers when nothing else applies
    std::string settingsFile;   // where "設定" writes
    std::string readme;         // what the link at the bottom opens
};

// Shows the dialog and returns when it has closed, saved or not.
int runWin32SettingsDialog(SettingsValues& values, const SettingsDialogFiles& files);

}  // namespace quorlane

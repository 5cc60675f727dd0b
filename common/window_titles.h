#pragma once
// The window titles the two programs find each other by. Nothing else crosses between them
// but the desktop image file, so each title is written here once and read by both sides.
// The names are inherited and kept as they are: other tools look for them too.

namespace quorlane {

// The renderer's window; the shell's show ends when it is gone.
inline constexpr const char* kRendererWindowTitle = "Torvane_VC";
// The shell's hidden window that stands for a running show.
inline constexpr const char* kShowWindowTitle = "Vantorel_Main";
// The settings dialog; while it is open no other run starts.
inline constexpr const char* kSettingsDialogTitle = "<Quorlane>";

}  // namespace quorlane

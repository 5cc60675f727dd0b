#pragma once
// The shell's start-up: refuse to run beside a show or an open settings dialog (bringing the
// dialog back to the user), then hand over to exactly one of preview, settings dialog, show,
// or nothing.
#include <cstdint>
#include <string>

#include "common/window_titles.h"
#include "shell/core/startup_state.h"

namespace quorlane {

class StartupServices {
public:
    virtual ~StartupServices() = default;
    virtual bool topLevelWindowExists(const std::string& title) = 0;
    virtual void makeWorkingFolder() = 0;
    virtual void loadSettings() = 0;
    // Whether the handle names a window that can host the preview.
    virtual bool isPreviewHost(int32_t handle) = 0;
    virtual int runPreview(int32_t handle) = 0;
    virtual int runSettingsDialog() = 0;
    // ShowCursor(FALSE): returns the new display count.
    virtual int32_t hideCursor() = 0;
    // Claims the display's one show or settings dialog for this process, atomically: of
    // starts made at the same instant exactly one wins. Held until the process ends.
    virtual bool claimDisplay() = 0;
    // Brings an open settings dialog back to the user (restored, raised, focused); nothing
    // when there is none.
    virtual void bringBackDialog() = 0;
    virtual int runShow() = 0;
    // The value of XSCREENSAVER_WINDOW, null when it is unset.
    virtual const char* screensaverWindowVariable() = 0;
    // A show inside a screensaver framework's window (0: the root window).
    virtual int runHostedShow(uint32_t window) = 0;
};

// Exit code of a command line that asks for a framework's window but names none.
inline constexpr int kBadHostWindowExitCode = 2;

// Runs start-up on the command line (the arguments without the program name) and returns
// the process's exit code. state receives the command line and the hidden-cursor count.
int runStartup(const std::string& commandLine, StartupState& state, StartupServices& services);

}  // namespace quorlane

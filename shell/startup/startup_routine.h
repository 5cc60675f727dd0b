#pragma once
// The shell's start-up: refuse to run beside a show or an open settings dialog, then hand
// over to exactly one of preview, settings dialog, show, or nothing.
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
    // Claims the one running show for this process, atomically: of shows started at the
    // same instant exactly one wins. Held until the process ends.
    virtual bool claimShow() = 0;
    virtual int runShow() = 0;
};

// Runs start-up on the command line (the arguments without the program name) and returns
// the process's exit code. state receives the command line and the hidden-cursor count.
int runStartup(const std::string& commandLine, StartupState& state, StartupServices& services);

}  // namespace quorlane

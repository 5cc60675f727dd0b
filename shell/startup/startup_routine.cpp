#include "shell/startup/startup_routine.h"

#include "shell/core/command_line.h"
#include "shell/core/skip_on_error.h"

namespace quorlane {

int runStartup(const std::string& commandLine, StartupState& state, StartupServices& services) {
    // Before anything else, for every mode: one show or one settings dialog at a time.
    if (services.topLevelWindowExists(kShowWindowTitle) ||
        services.topLevelWindowExists(kSettingsDialogTitle)) {
        return 0;
    }
    state.commandLine = commandLine;
    const char mode = state.modeSwitch();

    if (mode == 'P') {
        // A handle that is missing, 0, out of range or not a window has nothing to draw
        // into, so the preview ends at once rather than wait for a host that never goes.
        const auto handle = previewHostHandle(commandLine);
        if (!handle || *handle <= 0 || !services.isPreviewHost(*handle)) return 0;
        return services.runPreview(*handle);
    }

    // The title test cannot stop a second show started before the first one's window
    // exists (settings and Qt come first); the claim can. A loser ends like any refused start.
    const bool show = mode == 'S' || commandLine.empty();
    if (show && !services.claimShow()) return 0;

    // From the folder on, a failing step is skipped and start-up goes on with the next.
    skipOnError([&] { services.makeWorkingFolder(); });
    skipOnError([&] { services.loadSettings(); });

    if (mode == 'C') {
        int code = 0;
        skipOnError([&] { code = services.runSettingsDialog(); });
        return code;
    }
    if (mode != 'S' && !commandLine.empty()) return 0;

    if (mode == 'S') skipOnError([&] { state.hiddenCursorCount = services.hideCursor(); });
    int code = 1;  // a show that could not even begin is a failure
    skipOnError([&] { code = services.runShow(); });
    return code;
}

}  // namespace quorlane

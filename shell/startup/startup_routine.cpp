#include "shell/startup/startup_routine.h"

#include <cstdio>

#include "common/host_window_request.h"
#include "shell/core/command_line.h"
#include "shell/core/skip_on_error.h"

namespace quorlane {

int runStartup(const std::string& commandLine, StartupState& state, StartupServices& services) {
    // Inside a screensaver framework's window: a show on its terms. The one-show-at-a-time
    // rule is not for it: the framework runs one a monitor, side by side, and decides itself.
    const HostWindowRequest host =
        hostWindowRequest(splitAtBlanks(commandLine), services.screensaverWindowVariable());
    if (host.kind == HostWindowRequest::Kind::Invalid) {
        std::fprintf(stderr, "Quorlane.scr: %s\n", host.problem.c_str());
        return kBadHostWindowExitCode;
    }
    if (host.kind != HostWindowRequest::Kind::None) {
        state.commandLine = commandLine;
        skipOnError([&] { services.makeWorkingFolder(); });
        skipOnError([&] { services.loadSettings(); });
        int code = 1;
        skipOnError([&] { code = services.runHostedShow(host.window); });
        return code;
    }

    // Before anything else, for every mode: one show or one settings dialog at a time. A
    // dialog the user lost (minimised, buried) is what they are looking for: bring it back.
    if (services.topLevelWindowExists(kShowWindowTitle)) return 0;
    if (services.topLevelWindowExists(kSettingsDialogTitle)) {
        services.bringBackDialog();
        return 0;
    }
    state.commandLine = commandLine;
    const char mode =
        commandLine.empty() && kEmptyCommandLineOpensSettings ? 'C' : state.modeSwitch();

    if (mode == 'P') {
        // A handle that is missing, 0, out of range or not a window has nothing to draw
        // into, so the preview ends at once rather than wait for a host that never goes.
        const auto handle = previewHostHandle(commandLine);
        if (!handle || *handle <= 0 || !services.isPreviewHost(*handle)) return 0;
        return services.runPreview(*handle);
    }

    // The title test cannot stop a second show or dialog started before the first one's
    // window exists (settings and Qt come first); the claim can. A loser ends like any
    // refused start, bringing back a dialog that has its window by now.
    const bool show = mode == 'S' || commandLine.empty();
    if ((show || mode == 'C') && !services.claimDisplay()) {
        services.bringBackDialog();
        return 0;
    }

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

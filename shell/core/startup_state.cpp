#include "shell/core/startup_state.h"

#include "shell/core/command_line.h"

namespace quorlane {

char StartupState::modeSwitch() const { return modeSwitchOf(commandLine); }

StartupState& startupState() {
    static StartupState state;
    return state;
}

}  // namespace quorlane

#pragma once
// What start-up leaves for the show: the command line it was given (the mode switch is
// recomputed from it) and the display count returned when the cursor was hidden.
#include <cstdint>
#include <optional>
#include <string>

namespace quorlane {

struct StartupState {
    std::string commandLine;
    std::optional<int32_t> hiddenCursorCount;  // set in mode "S" only

    char modeSwitch() const;
};

// The process-wide start-up state.
StartupState& startupState();

}  // namespace quorlane

#pragma once
// The shell's error rule for its start-up and show sequences: a step that fails is skipped
// and the sequence goes on with the next one; nothing is reported to the user.

namespace quorlane {

template <typename Step>
void skipOnError(Step&& step) noexcept {
    try {
        step();
    } catch (...) {}
}

}  // namespace quorlane

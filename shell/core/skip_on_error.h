#pragma once
// The shell's error rule for its start-up and show sequences: a step that fails is skipped
// and the sequence goes on with the next one; nothing is reported to the user. With
// QUORLANE_DEBUG set in the environment, each skipped step writes one line on standard error
// naming where it was and what failed, for whoever wonders why a show lacks something.
#include <exception>
#include <source_location>

namespace quorlane {

// The line on standard error for a step skipped at `where` (only with QUORLANE_DEBUG set);
// `what` is the failure's own message, or null when it had none.
void reportSkippedStep(const std::source_location& where, const char* what) noexcept;
void reportSkippedStep(const std::source_location& where) noexcept;

template <typename Step>
void skipOnError(Step&& step,
                 const std::source_location where = std::source_location::current()) noexcept {
    try {
        step();
    } catch (const std::exception& failure) {
        reportSkippedStep(where, failure.what());
    } catch (...) {
        reportSkippedStep(where);
    }
}

}  // namespace quorlane

#pragma once
// The shell's error rule for its start-up and show sequences: a step that fails is skipped
// and the sequence goes on with the next one; nothing is reported to the user. With
// QUORLANE_DEBUG set in the environment, each skipped step writes one line on standard error
// naming where it was and what failed, for whoever wonders why a show lacks something.
#include <exception>

namespace quorlane {

// Where a step was skipped: the caller's file, line and function.
struct SkippedAt {
    const char* file;
    int line;
    const char* function;
};

// The line on standard error for a skipped step (only with QUORLANE_DEBUG set); `what` is the
// failure's own message, or null when it had none.
void reportSkippedStep(const SkippedAt& where, const char* what) noexcept;

// The caller's place comes from the compilers' builtins, which GCC and clang both have (clang
// 14 cannot build std::source_location over GCC's library).
template <typename Step>
void skipOnError(Step&& step, const char* file = __builtin_FILE(), int line = __builtin_LINE(),
                 const char* function = __builtin_FUNCTION()) noexcept {
    try {
        step();
    } catch (const std::exception& failure) {
        reportSkippedStep({file, line, function}, failure.what());
    } catch (...) {
        reportSkippedStep({file, line, function}, nullptr);
    }
}

}  // namespace quorlane

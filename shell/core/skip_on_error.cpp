#include "shell/core/skip_on_error.h"

#include <cstdio>
#include <cstdlib>

namespace quorlane {

void reportSkippedStep(const std::source_location& where, const char* what) noexcept {
    const char* debug = std::getenv("QUORLANE_DEBUG");
    if (debug == nullptr || *debug == '\0') return;
    std::fprintf(stderr, "quorlane: skipped a failed step at %s:%u in %s: %s\n", where.file_name(),
                 static_cast<unsigned>(where.line()), where.function_name(),
                 what != nullptr ? what : "no message");
}

void reportSkippedStep(const std::source_location& where) noexcept {
    reportSkippedStep(where, nullptr);
}

}  // namespace quorlane

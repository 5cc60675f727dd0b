#include "shell/core/skip_on_error.h"

#include <cstdio>
#include <cstdlib>

namespace quorlane {

void reportSkippedStep(const SkippedAt& where, const char* what) noexcept {
    const char* debug = std::getenv("QUORLANE_DEBUG");
    if (debug == nullptr || *debug == '\0') return;
    std::fprintf(stderr, "quorlane: skipped a failed step at %s:%d in %s: %s\n", where.file,
                 where.line, where.function, what != nullptr ? what : "no message");
}

}  // namespace quorlane

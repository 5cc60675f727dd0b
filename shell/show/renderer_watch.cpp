#include "shell/show/renderer_watch.h"

namespace quorlane {

void RendererWatch::start(Clock now) {
    startedAt_ = now;
    seen_ = false;
}

RendererWatch::Verdict RendererWatch::tick(bool windowExists, bool processEnded, bool endedNormally,
                                           Clock now) {
    // Another program's window may carry the same title: the renderer we started having
    // ended is the end, whatever windows remain.
    if (processEnded) return seen_ || endedNormally ? Verdict::Gone : Verdict::NeverAppeared;
    if (seen_) return windowExists ? Verdict::Running : Verdict::Gone;
    if (windowExists) {
        seen_ = true;
        return Verdict::Running;
    }
    if (now - startedAt_ >= limit_) return Verdict::NeverAppeared;
    return Verdict::Waiting;
}

}  // namespace quorlane

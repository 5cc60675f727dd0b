#pragma once
// The show's watch on the renderer, one look every 100 ms: first for its window to come,
// then for it to go. A renderer that never shows a window must not keep the show (and its
// music) running unseen, so waiting is limited.
#include <chrono>

namespace quorlane {

class RendererWatch {
public:
    using Clock = std::chrono::milliseconds;
    static constexpr Clock kDefaultLimit{10000};

    enum class Verdict {
        Waiting,        // no window yet
        Running,        // the window is there
        Gone,           // the window came and went: the show is over
        NeverAppeared,  // the renderer ended, or the limit passed, before any window
    };

    explicit RendererWatch(Clock limit = kDefaultLimit) : limit_(limit) {}

    // The renderer has just been started (or failed to start) at this moment.
    void start(Clock now);
    // One look: whether a window titled for the renderer exists now, whether the renderer's
    // process has ended (or never began), and whether it ended with exit code 0. A renderer
    // closed with Escape between two looks was never seen, yet ran and ended as it should.
    // A window of that title does not keep the show once the renderer's process has ended.
    Verdict tick(bool windowExists, bool processEnded, bool endedNormally, Clock now);

private:
    Clock limit_;
    Clock startedAt_{0};
    bool seen_ = false;
};

}  // namespace quorlane

#pragma once
// A poll loop's time that passes only when the loop waits: each wait serves the descriptors
// that are ready now, and when none is, moves the clock on by the whole timeout at once.
// Timers then tick at exactly their due times, however busy the machine, and the number of
// waits tells how often the loop woke.
#include <gtest/gtest.h>

#include "shell/platform/poll_loop.h"

namespace quorlane::test {

class ScriptedPollTime final : public PollLoop::Time {
public:
    PollLoop::Clock::time_point now() override { return now_; }
    int wait(pollfd* fds, nfds_t count, int timeoutMs) override {
        ++waits_;
        if (waits_ > kMostWaits && loop_ != nullptr) {
            ADD_FAILURE() << "the loop kept waking without time passing";
            loop_->quit(-1);
            return 0;
        }
        const int ready = poll(fds, count, 0);
        if (ready != 0) return ready;
        if (timeoutMs < 0) {
            ADD_FAILURE() << "the loop would wait for ever";
            if (loop_ != nullptr) loop_->quit(-1);
            return 0;
        }
        now_ += std::chrono::milliseconds(timeoutMs);
        return 0;
    }

    // The loop to end should it spin or wait for ever, so that a fault fails the test
    // instead of hanging it.
    void stopOnFault(PollLoop& loop) { loop_ = &loop; }
    // Time passing inside a callback, as a slow one takes it.
    void advance(std::chrono::milliseconds by) { now_ += by; }
    std::chrono::milliseconds elapsed() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(now_ - start_);
    }
    int waits() const { return waits_; }

private:
    static constexpr int kMostWaits = 100000;
    const PollLoop::Clock::time_point start_{std::chrono::hours(1)};
    PollLoop::Clock::time_point now_ = start_;
    int waits_ = 0;
    PollLoop* loop_ = nullptr;
};

}  // namespace quorlane::test

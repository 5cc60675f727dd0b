#pragma once
// Waiting for a state, not for a time: the condition is looked at every 20 ms until it holds.
// The limit only stops a test whose program hangs; it is never what a test measures.
#include <chrono>
#include <thread>

namespace quorlane::testing {

template <typename Condition>
bool waitFor(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace quorlane::testing

#pragma once
// For tests of calls that must not block: runs the call on a thread of its own and waits for
// it to return. The wait is only a guard against a hang, generous enough for any machine: a
// call still running after it ends the test program with a message instead of hanging the
// suite. Tests never hold a call to how fast it was.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <thread>

namespace quorlane::test {

inline void mustReturn(const std::function<void()>& call, const char* what,
                       std::chrono::seconds guard = std::chrono::seconds(60)) {
    std::promise<void> returned;
    std::future<void> done = returned.get_future();
    std::thread caller([&] {
        call();
        returned.set_value();
    });
    if (done.wait_for(guard) != std::future_status::ready) {
        std::fprintf(stderr, "%s: still blocked after %lld s\n", what,
                     static_cast<long long>(guard.count()));
        std::_Exit(1);
    }
    caller.join();
}

}  // namespace quorlane::test

// The show's event loop: timers at their intervals in due order, descriptors served as
// they become readable, and a quit that ends run() with its code.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <ctime>
#include <string>

#include "shell/platform/poll_loop.h"

namespace quorlane {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(PollLoop, TimersTickAtTheirIntervalsUntilStopped) {
    PollLoop loop;
    std::string ticks;
    const auto start = Clock::now();
    Clock::duration firstFast{}, firstSlow{};
    int fast = 0, slow = 0, never = 0;
    const int fastId = loop.addTimer(20ms, [&] {
        if (fast++ == 0) firstFast = Clock::now() - start;
        ticks += 'f';
    });
    const int slowId = loop.addTimer(50ms, [&] {
        if (slow++ == 0) firstSlow = Clock::now() - start;
        ticks += 's';
        if (slow == 3) loop.quit(7);
    });
    const int idle = loop.addTimer(10ms, [&] { ++never; });
    loop.startTimer(fastId);
    loop.startTimer(slowId);
    loop.startTimer(slowId);  // already running: its rhythm stays
    EXPECT_TRUE(loop.timerActive(fastId));
    EXPECT_FALSE(loop.timerActive(idle));
    EXPECT_EQ(loop.run(), 7);

    EXPECT_EQ(never, 0);
    EXPECT_GE(firstFast, 20ms);
    EXPECT_GE(firstSlow, 50ms);
    EXPECT_GE(Clock::now() - start, 150ms);
    // 150 ms at 20 ms a tick: a slow machine may drop ticks, never add them.
    EXPECT_LE(fast, 7);
    EXPECT_GE(fast, 3);
    EXPECT_EQ(ticks.front(), 'f');  // the earliest due ticks first

    // Stopped, a timer stays silent; a one-shot delay ends this second run.
    loop.stopTimer(fastId);
    loop.stopTimer(slowId);
    fast = slow = 0;
    loop.singleShot(60ms, [&] { loop.quit(0); });
    EXPECT_EQ(loop.run(), 0);
    EXPECT_EQ(fast + slow, 0);
}

TEST(PollLoop, ServesReadableDescriptorsAndDropsClosedOnes) {
    PollLoop loop;
    int ends[2];
    ASSERT_EQ(pipe2(ends, O_CLOEXEC | O_NONBLOCK), 0);
    int served = 0;
    loop.watchReadable(ends[0], [&] {
        char byte;
        while (read(ends[0], &byte, 1) == 1) ++served;
        loop.unwatch(ends[0]);
        // A descriptor closed while watched must not wake the loop for ever.
        int other[2];
        ASSERT_EQ(pipe2(other, O_CLOEXEC), 0);
        loop.watchReadable(other[0], [] {});
        close(other[0]);
        close(other[1]);
    });
    int ticks = 0;
    const int timer = loop.addTimer(100ms, [&] {
        if (++ticks == 3) loop.quit(0);
    });
    loop.startTimer(timer);
    ASSERT_EQ(write(ends[1], "ab", 2), 2);
    const auto start = Clock::now();
    const std::clock_t cpuBefore = std::clock();
    EXPECT_EQ(loop.run(), 0);
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    EXPECT_EQ(served, 2);
    EXPECT_EQ(ticks, 3);
    EXPECT_GE(Clock::now() - start, 300ms);
    EXPECT_LT(cpuMs, 30.0) << "the loop kept waking while it waited";
    close(ends[0]);
    close(ends[1]);
}

}  // namespace
}  // namespace quorlane

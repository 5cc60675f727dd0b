// The show's event loop: timers at their intervals in due order, descriptors served as
// they become readable, and a quit that ends run() with its code. Time here passes only
// when the loop waits (tests/support/scripted_poll_time.h), so every tick has an exact time.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "shell/platform/poll_loop.h"
#include "tests/support/scripted_poll_time.h"

namespace quorlane {
namespace {

using namespace std::chrono_literals;

TEST(PollLoop, TimersTickAtTheirIntervalsUntilStopped) {
    test::ScriptedPollTime time;
    PollLoop loop(time);
    time.stopOnFault(loop);
    std::string ticks;
    const auto note = [&](char timer) {
        ticks += timer + std::to_string(time.elapsed().count()) + " ";
    };
    int slow = 0, never = 0;
    const int fastId = loop.addTimer(20ms, [&] { note('f'); });
    const int slowId = loop.addTimer(50ms, [&] {
        note('s');
        if (++slow == 3) loop.quit(7);
    });
    const int idle = loop.addTimer(10ms, [&] { ++never; });
    loop.startTimer(fastId);
    loop.startTimer(slowId);
    loop.startTimer(slowId);  // already running: its rhythm stays
    EXPECT_TRUE(loop.timerActive(fastId));
    EXPECT_FALSE(loop.timerActive(idle));
    EXPECT_EQ(loop.run(), 7);
    EXPECT_EQ(never, 0);
    // Due at the same time (100), the timer made first ticks first.
    EXPECT_EQ(ticks, "f20 f40 s50 f60 f80 f100 s100 f120 f140 s150 ");

    // Stopped, a timer stays silent; a one-shot delay ends this second run.
    loop.stopTimer(fastId);
    loop.stopTimer(slowId);
    ticks.clear();
    loop.singleShot(60ms, [&] { loop.quit(0); });
    EXPECT_EQ(loop.run(), 0);
    EXPECT_EQ(ticks, "");
    EXPECT_EQ(time.elapsed(), 210ms);
}

TEST(PollLoop, ALateTimerKeepsItsIntervalInsteadOfCatchingUp) {
    test::ScriptedPollTime time;
    PollLoop loop(time);
    time.stopOnFault(loop);
    std::string ticks;
    int count = 0;
    const int timer = loop.addTimer(20ms, [&] {
        ticks += std::to_string(time.elapsed().count()) + " ";
        if (++count == 1) time.advance(65ms);  // a slow callback, three ticks long
        if (count == 3) loop.quit(0);
    });
    loop.startTimer(timer);
    EXPECT_EQ(loop.run(), 0);
    // The tick due at 40 comes late, once; those due at 60 and 80 are dropped.
    EXPECT_EQ(ticks, "20 85 105 ");
}

TEST(PollLoop, ServesReadableDescriptorsAndDropsClosedOnes) {
    test::ScriptedPollTime time;
    PollLoop loop(time);
    time.stopOnFault(loop);
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
    EXPECT_EQ(loop.run(), 0);
    EXPECT_EQ(served, 2);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(time.elapsed(), 300ms);
    // Woken once by the pipe, once by the closed descriptor (then dropped), once per tick.
    EXPECT_EQ(time.waits(), 5);
    close(ends[0]);
    close(ends[1]);
}

}  // namespace
}  // namespace quorlane

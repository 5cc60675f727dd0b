#include <gtest/gtest.h>

#include <cstdint>

#include "renderer/core/frame_clock.h"

namespace quorlane {
namespace {

// A tick source the test moves by hand.
struct ScriptedTicks {
    uint32_t now = 0;
    FrameClock::TickSource source() {
        return [this] { return now; };
    }
};

// Ticks `frames` frames, spreading `milliseconds` evenly (remainder on the last frame).
void runFrames(FrameClock& clock, ScriptedTicks& ticks, int frames, uint32_t milliseconds) {
    for (int i = 0; i < frames; ++i) {
        ticks.now += milliseconds / frames + (i == frames - 1 ? milliseconds % frames : 0);
        clock.tick();
    }
}

TEST(FrameClockTest, UsesDefaultStepUntilMeasuredAndFirstMeasurementIsAgainstTickZero) {
    ScriptedTicks ticks;
    ticks.now = 3'600'000;  // the machine has been up an hour
    FrameClock clock(ticks.source());
    EXPECT_DOUBLE_EQ(clock.step(), 0.016);

    // Frame 10 compares against tick 0: a rate far below 1, so the default stays.
    for (int frame = 1; frame <= 19; ++frame) {
        ticks.now += 20;
        clock.tick();
        EXPECT_DOUBLE_EQ(clock.step(), 0.016) << "frame " << frame;
        EXPECT_DOUBLE_EQ(clock.rate(), 60.0) << "frame " << frame;
    }
    ticks.now += 20;
    clock.tick();  // frame 20: 10 frames in 200 ms
    EXPECT_EQ(clock.frameCount(), 20);
    EXPECT_DOUBLE_EQ(clock.rate(), 50.0);
    EXPECT_DOUBLE_EQ(clock.step(), 0.02);
}

TEST(FrameClockTest, FirstMeasurementShortlyAfterBootCountsFromTickZeroNotFromCreation) {
    ScriptedTicks ticks;
    ticks.now = 500;
    FrameClock clock(ticks.source());
    runFrames(clock, ticks, 10, 100);  // frame 10 at tick 600
    // Against creation (100 ms) the step would be 0.01; against tick 0 it is 0.06.
    EXPECT_NEAR(clock.step(), 0.06, 1e-12);
}

TEST(FrameClockTest, StepHoldsBetweenMeasurementsAndFollowsAStall) {
    ScriptedTicks ticks;
    FrameClock clock(ticks.source());
    runFrames(clock, ticks, 10, 160);
    EXPECT_DOUBLE_EQ(clock.rate(), 62.5);
    EXPECT_DOUBLE_EQ(clock.step(), 0.016);

    // A 2-second stall within the next ten frames shows only at the next measurement.
    for (int i = 0; i < 9; ++i) {
        ticks.now += i == 0 ? 1991 : 1;
        clock.tick();
        EXPECT_DOUBLE_EQ(clock.step(), 0.016);
    }
    ticks.now += 1;
    clock.tick();
    EXPECT_DOUBLE_EQ(clock.rate(), 5.0);
    EXPECT_DOUBLE_EQ(clock.step(), 0.2);
}

TEST(FrameClockTest, ZeroIntervalAndSubUnitRatesFallBackToTheDefault) {
    ScriptedTicks ticks;
    FrameClock clock(ticks.source());
    runFrames(clock, ticks, 10, 200);
    ASSERT_DOUBLE_EQ(clock.step(), 0.02);

    // Ten frames within one millisecond: infinite rate, no step; the old step must not linger.
    runFrames(clock, ticks, 10, 0);
    EXPECT_DOUBLE_EQ(clock.step(), 0.016);

    runFrames(clock, ticks, 10, 200);
    ASSERT_DOUBLE_EQ(clock.step(), 0.02);
    // Ten frames over 20 s: 0.5 frames a second, below 1.
    runFrames(clock, ticks, 10, 20'000);
    EXPECT_DOUBLE_EQ(clock.rate(), 60.0);
    EXPECT_DOUBLE_EQ(clock.step(), 0.016);

    // Exactly one frame a second is still a measurement.
    runFrames(clock, ticks, 10, 10'000);
    EXPECT_DOUBLE_EQ(clock.rate(), 1.0);
    EXPECT_DOUBLE_EQ(clock.step(), 1.0);
}

TEST(FrameClockTest, IntervalSurvivesTheTickCounterWrapping) {
    ScriptedTicks ticks;
    ticks.now = 0xFFFF'FF00u;
    FrameClock clock(ticks.source());
    runFrames(clock, ticks, 10, 0);  // measured against tick 0: a backwards interval
    EXPECT_DOUBLE_EQ(clock.step(), 0.016);

    runFrames(clock, ticks, 10, 0x200);  // crosses 2^32 halfway
    EXPECT_NEAR(clock.step(), 0.0512, 1e-12);
}

}  // namespace
}  // namespace quorlane

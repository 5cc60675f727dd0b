#include "renderer/core/frame_clock.h"

#include <limits>
#include <utility>

namespace quorlane {

namespace {
constexpr int32_t kFramesPerMeasurement = 10;
constexpr double kDefaultRate = 60.0;
constexpr double kDefaultStep = 0.016;
}  // namespace

FrameClock::FrameClock(TickSource ticks) : ticks_(std::move(ticks)), currentTick_(ticks_()) {}

void FrameClock::tick() {
    const uint32_t now = ticks_();
    currentTick_ = now;

    // Wrap instead of overflowing: a show left running for months must not hit undefined
    // behaviour; the measurement cadence merely shifts once.
    frameCount_ = static_cast<int32_t>(static_cast<uint32_t>(frameCount_) + 1u);
    if (frameCount_ % kFramesPerMeasurement != 0) return;

    // A signed difference survives the tick counter wrapping between two measurements.
    const int32_t interval = static_cast<int32_t>(now - lastMeasurementTick_);
    lastMeasurementTick_ = now;
    rate_ = interval == 0 ? std::numeric_limits<double>::infinity()
                          : 100.0 / (static_cast<double>(interval) / 100.0);

    if (rate_ >= 1.0) {
        step_ = 1.0 / rate_;  // 0 for an infinite rate, which step() treats as unmeasured
    } else {
        rate_ = kDefaultRate;
        step_ = 0.0;
    }
}

double FrameClock::step() const { return step_ > 0.0 ? step_ : kDefaultStep; }

}  // namespace quorlane

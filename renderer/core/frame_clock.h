#pragma once
// Measures the frame rate every 10 frames and supplies the frame step.
#include <cstdint>
#include <functional>

namespace quorlane {

class FrameClock {
public:
    using TickSource = std::function<uint32_t()>;
    explicit FrameClock(TickSource ticks);  // tests drive time through ticks
    void tick();
    double step() const;  // seconds per frame; 0.016 until measured
    int32_t frameCount() const { return frameCount_; }
    double rate() const { return rate_; }

private:
    TickSource ticks_;
    int32_t frameCount_ = 0;
    double rate_ = 60.0;
    double step_ = 0.0;
    uint32_t currentTick_ = 0;
    uint32_t lastMeasurementTick_ = 0;
};

}  // namespace quorlane

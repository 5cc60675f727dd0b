#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "renderer/core/frame_clock.h"
#include "renderer/core/scene.h"
#include "renderer/core/scene_director.h"

namespace quorlane {
namespace {

// Records what the director asks of it, frame by frame.
class RecordingScene final : public Scene {
public:
    RecordingScene(std::string name, double duration, const FrameClock& clock,
                   std::vector<std::string>& log)
        : Scene(duration, clock), name_(std::move(name)), log_(log) {}
    void reset() override {
        Scene::reset();
        log_.push_back(name_ + ".reset");
    }
    void update() override {
        Scene::update();
        log_.push_back(name_ + ".update");
    }
    void draw() override { log_.push_back(name_ + ".draw"); }

private:
    std::string name_;
    std::vector<std::string>& log_;
};

// A director on a scripted clock: 250 ms a frame, so once measured every step is exactly
// 0.25 s and elapsed times add up without rounding.
class DirectorTest : public ::testing::Test {
protected:
    DirectorTest() : director_(&endFlag_, [this] { return now_; }) {}

    void frame() {
        now_ += 250;
        director_.update();
    }
    // Runs the clock to its first exact measurement with no scene in place (which must be safe).
    void warmUpClock() {
        for (int i = 0; i < 10; ++i) frame();
        ASSERT_DOUBLE_EQ(director_.clock().step(), 0.25);
        ASSERT_FALSE(endFlag_);
    }

    uint32_t now_ = 0;
    bool endFlag_ = false;
    SceneDirector director_;
    std::vector<std::string> log_;
};

TEST_F(DirectorTest, SuccessorTakesOverInTheFrameTheTimeIsReachedExactly) {
    warmUpClock();
    RecordingScene first("a", 1.0, director_.clock(), log_);
    RecordingScene second("b", 10.0, director_.clock(), log_);
    first.setNext(&second);
    director_.setCurrentScene(&first);
    EXPECT_EQ(log_, std::vector<std::string>{"a.reset"});

    for (int i = 0; i < 3; ++i) frame();
    EXPECT_EQ(director_.currentScene(), &first);
    EXPECT_DOUBLE_EQ(first.elapsed(), 0.75);

    log_.clear();
    frame();  // elapsed reaches exactly 1.0: finished (>=), hand over now
    EXPECT_EQ(director_.currentScene(), &second);
    EXPECT_EQ(log_, (std::vector<std::string>{"b.reset", "b.update"}));
    EXPECT_DOUBLE_EQ(second.elapsed(), 0.0);  // its own time starts with the next frame

    frame();
    EXPECT_DOUBLE_EQ(second.elapsed(), 0.25);
    EXPECT_FALSE(endFlag_);
}

TEST_F(DirectorTest, SceneThatFollowsItselfRestartsWithoutAGap) {
    warmUpClock();
    RecordingScene loop("m", 1.0, director_.clock(), log_);
    loop.setNext(&loop);
    director_.setCurrentScene(&loop);

    int resets = 0;
    int updates = 0;
    for (int i = 0; i < 12; ++i) {
        log_.clear();
        frame();
        EXPECT_EQ(director_.currentScene(), &loop);
        for (const auto& entry : log_) {
            resets += entry == "m.reset";
            updates += entry == "m.update";
        }
    }
    EXPECT_EQ(resets, 3);    // every fourth frame
    EXPECT_EQ(updates, 12);  // never a frame without an update
    EXPECT_DOUBLE_EQ(loop.elapsed(), 0.0);
    EXPECT_FALSE(endFlag_);
}

TEST_F(DirectorTest, RunningOutOfScenesRaisesTheEndFlagAndStopsUpdating) {
    warmUpClock();
    RecordingScene last("z", 0.5, director_.clock(), log_);
    director_.setCurrentScene(&last);

    frame();
    EXPECT_FALSE(endFlag_);
    log_.clear();
    frame();
    EXPECT_TRUE(endFlag_);
    EXPECT_EQ(director_.currentScene(), nullptr);
    EXPECT_TRUE(log_.empty());  // the finished scene is not updated again

    frame();
    EXPECT_TRUE(log_.empty());
}

TEST_F(DirectorTest, SceneTimeUsesTheDefaultStepBeforeTheFirstMeasurement) {
    RecordingScene scene("s", 100.0, director_.clock(), log_);
    director_.setCurrentScene(&scene);
    for (int i = 0; i < 9; ++i) frame();
    EXPECT_NEAR(scene.elapsed(), 9 * 0.016, 1e-12);
    frame();  // the clock ticks before the scene asks for the step
    EXPECT_NEAR(scene.elapsed(), 9 * 0.016 + 0.25, 1e-12);
}

}  // namespace
}  // namespace quorlane

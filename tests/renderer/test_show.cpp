// The show as every front end runs it: frames until the scenes run out, the key that ends it,
// and what is let go before the process ends. The process's end is the test's: it throws.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "renderer/core/frame_clock.h"
#include "renderer/core/scene.h"
#include "renderer/core/show.h"

namespace quorlane {
namespace {

struct Ended {
    int status;
};

[[noreturn]] void endInTest(int status) { throw Ended{status}; }

class LoggingScene final : public Scene {
public:
    LoggingScene(double duration, const FrameClock& clock, std::vector<std::string>& log)
        : Scene(duration, clock), log_(log) {}
    ~LoggingScene() { log_.push_back("gone"); }
    void update() override {
        Scene::update();
        log_.push_back("update");
    }
    void draw() override { log_.push_back("draw"); }

private:
    std::vector<std::string>& log_;
};

// No GL context: the director's own GL calls do nothing, the scenes only log.
class ShowTest : public ::testing::Test {
protected:
    // Runs frames (at most `limit`) until the show ends; its status, or -1 when it went on.
    // framesRun_: those begun, the last included.
    int framesUntilTheEnd(int limit) {
        for (framesRun_ = 1; framesRun_ <= limit; ++framesRun_) {
            try {
                show_.frame();
            } catch (const Ended& ended) {
                return ended.status;
            }
        }
        return -1;
    }

    int framesRun_ = 0;
    uint32_t now_ = 0;
    std::vector<std::string> log_;
    Show show_{[this] { return now_ += 250; }, endInTest};
};

TEST_F(ShowTest, DrawsEachFrameUntilTheScenesRunOutThenEndsWithoutDrawingAgain) {
    // Before the clock's first measurement every step is 0.016 s: the third frame finishes it.
    show_.start(std::make_unique<LoggingScene>(0.04, show_.clock(), log_));
    EXPECT_EQ(framesUntilTheEnd(10), 0);
    EXPECT_EQ(framesRun_, 3) << "the show must end in the frame its scenes run out";
    EXPECT_EQ(log_, (std::vector<std::string>{"update", "draw", "update", "draw", "gone"}));
}

TEST_F(ShowTest, OnlyEscapeEndsTheShowAndTheSceneGoesBeforeTheProcess) {
    auto scene = std::make_unique<LoggingScene>(1.0, show_.clock(), log_);
    scene->setNext(scene.get());  // the flight follows itself without end
    show_.start(std::move(scene));
    for (int key = 0; key < 256; ++key) {
        if (key == 27) continue;
        EXPECT_NO_THROW(show_.key(static_cast<unsigned char>(key))) << "key " << key;
    }
    EXPECT_EQ(framesUntilTheEnd(100), -1) << "a looping show ended by itself";
    EXPECT_NE(log_.back(), "gone");

    int status = -1;
    try {
        show_.key(27);
    } catch (const Ended& ended) {
        status = ended.status;
    }
    EXPECT_EQ(status, 0);
    EXPECT_EQ(log_.back(), "gone");
}

}  // namespace
}  // namespace quorlane

#pragma once
// Runs the current scene, hands over to its successor, and draws it each frame.
#include <memory>

#include "renderer/core/frame_clock.h"

namespace quorlane {

class Scene;

class SceneDirector {
public:
    explicit SceneDirector(bool* endFlag, FrameClock::TickSource ticks);
    ~SceneDirector();
    void initGraphics();
    void update();
    void draw();
    // Makes the scene current and resets it, as a hand-over does. The program's entry hands
    // the first scene over this way; the scene stays its caller's.
    void setCurrentScene(Scene* scene);
    Scene* currentScene() const { return current_; }
    const FrameClock& clock() const { return clock_; }

private:
    bool* endFlag_;
    FrameClock clock_;
    Scene* current_ = nullptr;
};

}  // namespace quorlane

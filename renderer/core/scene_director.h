#pragma once
// Runs the current scene, hands over to its successor, and draws it each frame.
#include <memory>
#include <string>

#include "renderer/core/frame_clock.h"

namespace quorlane {

class Scene;
class MazeScene;

class SceneDirector {
public:
    explicit SceneDirector(bool* endFlag, FrameClock::TickSource ticks);
    ~SceneDirector();
    void initGraphics();
    // The same with the picture file given (empty: none), for a renderer told where it is.
    void initGraphics(const std::string& picture);
    void update();
    void draw();
    // Makes the scene current and resets it, as a hand-over does; tests put their own
    // scene in place of the maze this way.
    void setCurrentScene(Scene* scene);
    Scene* currentScene() const { return current_; }
    const FrameClock& clock() const { return clock_; }

private:
    bool* endFlag_;
    FrameClock clock_;
    Scene* current_ = nullptr;
    MazeScene* created_ = nullptr;
};

}  // namespace quorlane

#pragma once
// The renderer's one show, as every front end runs it: the director over the scenes, its end
// flag, the first scene, the rule that ends it on a key, and the process's end with it.
#include <memory>

#include "renderer/core/frame_clock.h"

namespace quorlane {

class Scene;
class SceneDirector;

class Show {
public:
    // How the process ends; std::exit in the program. Never returns to the show.
    using Ending = void (*)(int status);

    // Needs the front end's GL context current: the director sets up its projection.
    explicit Show(FrameClock::TickSource ticks, Ending ending = nullptr);
    ~Show();
    Show(const Show&) = delete;
    Show& operator=(const Show&) = delete;

    // The clock the scenes are made with.
    const FrameClock& clock() const;
    // Makes `first` current; the show keeps it until its end.
    void start(std::shared_ptr<Scene> first);

    // One frame: the scenes advance by the frame clock and the current one is drawn, for the
    // front end to swap onto the screen. Once the scenes have run out, ends with status 0
    // instead of drawing.
    void frame();
    // A key typed into the show's window: Escape ends the show with status 0; any other
    // key is ignored.
    void key(unsigned char key);
    // Lets the director and the scenes go (GL names go with the process) and ends the process.
    [[noreturn]] void end(int status);

private:
    bool endFlag_ = false;
    std::unique_ptr<SceneDirector> director_;
    std::shared_ptr<Scene> first_;
    Ending ending_;
};

}  // namespace quorlane

#include "renderer/core/show.h"

#include <cstdlib>
#include <utility>

#include "renderer/core/scene.h"
#include "renderer/core/scene_director.h"

namespace quorlane {

namespace {

constexpr unsigned char kEscape = 27;

void exitProcess(int status) { std::exit(status); }

}  // namespace

Show::Show(FrameClock::TickSource ticks, Ending ending)
    : director_(std::make_unique<SceneDirector>(&endFlag_, std::move(ticks))),
      ending_(ending != nullptr ? ending : exitProcess) {
    director_->initGraphics();
}

Show::~Show() = default;

const FrameClock& Show::clock() const { return director_->clock(); }

void Show::start(std::shared_ptr<Scene> first) {
    first_ = std::move(first);
    director_->setCurrentScene(first_.get());
}

void Show::frame() {
    director_->update();
    if (endFlag_) end(0);
    director_->draw();
}

void Show::key(unsigned char key) {
    if (key == kEscape) end(0);
}

void Show::end(int status) {
    // The director first: it points at the scenes.
    director_.reset();
    first_.reset();
    ending_(status);
    std::abort();  // an ending that came back would leave a show without its director
}

}  // namespace quorlane

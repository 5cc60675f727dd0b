#include "renderer/core/scene.h"

#include "renderer/core/frame_clock.h"

namespace quorlane {

Scene::Scene(double duration, const FrameClock& clock) : clock_(clock), duration_(duration) {}

void Scene::setNext(Scene* next) { next_ = next; }

void Scene::reset() { elapsed_ = 0.0; }

bool Scene::isFinished() {
    elapsed_ += clock_.step();
    return elapsed_ >= duration_;
}

Scene* Scene::next() { return next_; }

void Scene::update() {}

}  // namespace quorlane

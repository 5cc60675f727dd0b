#include "renderer/core/scene_director.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <utility>

#include "renderer/core/scene.h"

namespace quorlane {

SceneDirector::SceneDirector(bool* endFlag, FrameClock::TickSource ticks)
    : endFlag_(endFlag), clock_(std::move(ticks)) {}

SceneDirector::~SceneDirector() = default;

void SceneDirector::initGraphics() {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 1.33, 0.01, 1000.0);
}

void SceneDirector::setCurrentScene(Scene* scene) {
    current_ = scene;
    if (current_ != nullptr) current_->reset();
}

void SceneDirector::update() {
    clock_.tick();

    // The successor takes over in the same frame, so a looping show has no gap.
    if (current_ != nullptr && current_->isFinished()) {
        current_ = current_->next();
        if (current_ != nullptr)
            current_->reset();
        else if (endFlag_ != nullptr)
            *endFlag_ = true;
    }

    if (current_ != nullptr) current_->update();
}

void SceneDirector::draw() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (current_ != nullptr) current_->draw();
}

}  // namespace quorlane

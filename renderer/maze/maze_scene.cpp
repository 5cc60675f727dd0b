#include "renderer/maze/maze_scene.h"

#include <GL/glu.h>

#include "renderer/core/frame_clock.h"
#include "renderer/core/picture_texture.h"
#include "renderer/maze/maze_geometry.h"

namespace quorlane {

namespace {

constexpr double kPathRate = 0.399;        // path parameter per second of frame step
constexpr double kFlightDuration = 42.55;  // seconds of frame steps per flight

// Sphere mapping is only selected here; the wall panels switch generation on and off.
GLuint compileWithSphereMap(GLuint pictureTexture, GLuint reflectionTexture) {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    return compileMazeList(pictureTexture, reflectionTexture);
}

}  // namespace

// Members are declared in the order of construction: picture, texture mode and list,
// then the eye path before the look path.
MazeScene::MazeScene(double duration, const FrameClock& clock, const char* picturePath)
    : Scene(duration, clock),
      pictureTexture_(loadPictureTexture(picturePath)),
      reflectionTexture_(pictureTexture_),
      mazeList_(compileWithSphereMap(pictureTexture_, reflectionTexture_)),
      eyePath_(eyePathSamples()),
      lookPath_(lookPathSamples()) {}

void MazeScene::reset() {
    Scene::reset();
    pathParameter_ = 0.0;
}

void MazeScene::update() {
    Scene::update();
    pathParameter_ += clock_.step() * kPathRate;
}

void MazeScene::draw() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // The aspect is fixed: a wide screen stretches the view rather than widening it.
    gluPerspective(80.0, 1.33, 0.01, 1000.0);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const Point3 eye = eyePath_.at(pathParameter_);
    const Point3 centre = lookPath_.at(pathParameter_);
    gluLookAt(eye.x, eye.y, eye.z, centre.x, centre.y, centre.z, 0.0, 1.0, 0.0);

    glCallList(mazeList_);
}

std::unique_ptr<MazeScene> createMazeFlight(const FrameClock& clock,
                                            const std::string& picturePath) {
    auto flight = std::make_unique<MazeScene>(kFlightDuration, clock, picturePath.c_str());
    flight->setNext(flight.get());  // the flight loops
    return flight;
}

}  // namespace quorlane

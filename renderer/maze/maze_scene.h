#pragma once
// The flight through the maze: the one scene the renderer shows.
#include <GL/gl.h>

#include <memory>
#include <string>

#include "renderer/core/scene.h"
#include "renderer/maze/camera_path.h"

namespace quorlane {

class MazeScene final : public Scene {
public:
    // Loads the picture from picturePath and compiles the maze; needs a current GL context.
    MazeScene(double duration, const FrameClock& clock, const char* picturePath);
    void reset() override;
    void update() override;
    void draw() override;
    double pathParameter() const { return pathParameter_; }
    void setPathParameter(double t) { pathParameter_ = t; }  // for pixel tests

private:
    double pathParameter_ = 0.0;
    GLuint pictureTexture_ = 0;
    GLuint reflectionTexture_ = 0;
    GLuint mazeList_ = 0;
    CameraPath eyePath_;
    CameraPath lookPath_;
};

// The renderer's one show: the maze flight on the picture at picturePath, 42.55 seconds of
// frame steps long, followed by itself without end. Needs a current GL context.
std::unique_ptr<MazeScene> createMazeFlight(const FrameClock& clock,
                                            const std::string& picturePath);

}  // namespace quorlane

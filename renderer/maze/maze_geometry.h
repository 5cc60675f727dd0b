#pragma once
// The five-room maze compiled into one display list.
#include <GL/gl.h>

namespace quorlane {
// Needs a current GL context; sphere-map generation mode must already be set.
GLuint compileMazeList(GLuint pictureTexture, GLuint reflectionTexture);
}  // namespace quorlane

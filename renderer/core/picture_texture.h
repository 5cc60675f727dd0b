#pragma once
// A BMP file as a mipmapped GL texture; 0 when the picture cannot be read.
#include <GL/gl.h>

namespace quorlane {
GLuint loadPictureTexture(const char* path);
}

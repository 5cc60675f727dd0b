#pragma once
// A BMP file as a mipmapped GL texture; 0 when the picture cannot be read.
#include <GL/gl.h>

namespace quorlane {

GLuint loadPictureTexture(const char* path);

// Starts reading the picture and computing its mipmap levels on a helper thread, so that
// the work overlaps the making of the window; the next loadPictureTexture of the same path
// then only uploads the levels. Needs no GL context.
void preparePictureTexture(const char* path);

}  // namespace quorlane

#include "renderer/core/picture_texture.h"

#include <GL/glu.h>

#include "renderer/core/bmp_decoder.h"

namespace quorlane {

GLuint loadPictureTexture(const char* path) {
    std::optional<RgbImage> loaded = loadBmpImage(path);
    if (!loaded) return 0;
    RgbImage image = std::move(*loaded);
    loaded.reset();

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

    // Rows are tightly packed (a width of 1366 leaves no padding); restore the caller's
    // alignment afterwards so later uploads are not affected.
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE,
                      image.data.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);

    // Only the texture stays; the decoded picture goes at once.
    std::vector<uint8_t>().swap(image.data);
    return texture;
}

}  // namespace quorlane

#include "renderer/core/picture_texture.h"

#include <GL/glu.h>

#include <optional>
#include <string>
#include <thread>

#include "renderer/core/bmp_decoder.h"
#include "renderer/core/mipmap_chain.h"

namespace quorlane {

namespace {

struct PreparedPicture {
    bool loaded = false;
    RgbImage image;
    std::vector<MipLevel> levels;  // empty when GLU's own build is needed
};

PreparedPicture preparePicture(const char* path) {
    PreparedPicture prepared;
    std::optional<RgbImage> image = loadBmpImage(path);
    if (!image) return prepared;
    prepared.loaded = true;
    prepared.image = std::move(*image);
    prepared.levels = buildMipmapChain(prepared.image, nearestPowerOfTwo(prepared.image.width),
                                       nearestPowerOfTwo(prepared.image.height));
    return prepared;
}

// The one picture being prepared ahead, if any: the renderer loads a single picture, once.
struct Preparation {
    std::string path;
    std::thread worker;
    PreparedPicture result;
};
Preparation* pending = nullptr;

PreparedPicture takePrepared(const char* path) {
    if (pending == nullptr || path == nullptr || pending->path != path) return preparePicture(path);
    pending->worker.join();
    PreparedPicture result = std::move(pending->result);
    delete pending;
    pending = nullptr;
    return result;
}

// GLU takes the nearest powers of two only when the driver accepts that texture; it asks
// with a proxy of level 1. Where it would not fit, GLU's own smaller choice is left to it.
bool driverTakes(const MipLevel& base) {
    const int width = base.width > 1 ? base.width / 2 : 1;
    const int height = base.height > 1 ? base.height / 2 : 1;
    glTexImage2D(GL_PROXY_TEXTURE_2D, 1, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    GLint proxyWidth = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &proxyWidth);
    return proxyWidth != 0;
}

}  // namespace

void preparePictureTexture(const char* path) {
    if (path == nullptr || pending != nullptr) return;
    auto* preparation = new Preparation{path, {}, {}};
    try {
        preparation->worker = std::thread(
            [preparation] { preparation->result = preparePicture(preparation->path.c_str()); });
    } catch (const std::system_error&) {
        delete preparation;  // no thread to be had: the picture is read when it is needed
        return;
    }
    pending = preparation;
}

GLuint loadPictureTexture(const char* path) {
    PreparedPicture prepared = takePrepared(path);
    if (!prepared.loaded) return 0;

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
    if (!prepared.levels.empty() && driverTakes(prepared.levels.front())) {
        for (std::size_t level = 0; level < prepared.levels.size(); ++level) {
            const MipLevel& mip = prepared.levels[level];
            glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), 3, mip.width, mip.height, 0,
                         GL_RGB, GL_UNSIGNED_BYTE, mip.rgb.data());
        }
    } else {
        const RgbImage& image = prepared.image;
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE,
                          image.data.data());
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    // Only the texture stays; the decoded picture and its levels go at once.
    return texture;
}

}  // namespace quorlane

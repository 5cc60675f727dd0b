// libFuzzer entry: any bytes at all must decode or fail with a loader message, without
// reading outside the input, crashing or hanging.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "renderer/core/bmp_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    const std::optional<quorlane::RgbImage> image = quorlane::decodeBmp(data, size, &error);
    if (image) {
        // The decoder bounds the pixel count (64 Mi), not each side: a wide strip is a picture.
        const bool sane = image->width >= 1 && image->height >= 1 &&
                          int64_t{image->width} * image->height <= (int64_t{64} << 20) &&
                          image->data.size() == size_t(image->width) * size_t(image->height) * 3;
        if (!sane) std::abort();
    } else if (error != "Unknown DIB file format." && error != "Out of memory." &&
               error != "Image file conversion error.") {
        std::abort();
    }
    return 0;
}

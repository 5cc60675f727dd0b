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
        const bool sane = image->width >= 1 && image->width <= 16384 && image->height >= 1 &&
                          image->height <= 16384 &&
                          image->data.size() == size_t(image->width) * size_t(image->height) * 3;
        if (!sane) std::abort();
    } else if (error != "Unknown DIB file format." && error != "Out of memory." &&
               error != "Image file conversion error.") {
        std::abort();
    }
    return 0;
}

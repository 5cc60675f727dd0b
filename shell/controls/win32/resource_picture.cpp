#include "shell/controls/win32/resource_picture.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "common/little_endian.h"

namespace quorlane {

ResourcePicture loadResourcePicture(const char* name) {
    ResourcePicture picture;
    HRSRC found = FindResourceA(nullptr, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (found == nullptr) return picture;
    HGLOBAL loaded = LoadResource(nullptr, found);
    const auto* bytes = static_cast<const uint8_t*>(LockResource(loaded));
    const size_t size = SizeofResource(nullptr, found);
    if (bytes == nullptr || size < 54 || bytes[0] != 'B' || bytes[1] != 'M') return picture;
    const uint32_t offset = readLittle32(bytes + 10);
    const int width = static_cast<int32_t>(readLittle32(bytes + 18));
    const int signedHeight = static_cast<int32_t>(readLittle32(bytes + 22));
    const int bits = readLittle16(bytes + 28);
    const uint32_t compression = readLittle32(bytes + 30);
    const int height = std::abs(signedHeight);
    if (width <= 0 || height == 0 || (bits != 24 && bits != 32) || compression != 0) return picture;
    const size_t stride = (size_t(width) * size_t(bits / 8) + 3) / 4 * 4;
    if (offset > size || (size - offset) / stride < size_t(height)) return picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        const int stored = signedHeight < 0 ? y : height - 1 - y;
        const uint8_t* row = bytes + offset + size_t(stored) * stride;
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = row + size_t(x) * size_t(bits / 8);
            const uint32_t alpha = bits == 32 ? p[3] : 0xFFu;
            picture.pixels[size_t(y) * size_t(width) + size_t(x)] =
                alpha << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
        }
    }
    return picture;
}

ResourcePicture scaledPicture(const ResourcePicture& picture, int dpi) {
    if (dpi == 96 || picture.empty()) return picture;
    ResourcePicture scaled;
    scaled.width = MulDiv(picture.width, dpi, 96);
    scaled.height = MulDiv(picture.height, dpi, 96);
    scaled.pixels.resize(size_t(scaled.width) * size_t(scaled.height));
    for (int y = 0; y < scaled.height; ++y) {
        const int from = y * 96 / dpi * picture.width;  // the source pixel the point lies in
        for (int x = 0; x < scaled.width; ++x)
            scaled.pixels[size_t(y) * size_t(scaled.width) + size_t(x)] =
                picture.pixels[size_t(from + x * 96 / dpi)];
    }
    return scaled;
}

}  // namespace quorlane

#pragma once
// Pictures built into the program as BMP resources (RCDATA), read into 0xAARRGGBB pixels, top
// row first. Windows only. Reads uncompressed 24- and 32-bit BMPs, either row order; anything
// else, or a missing resource, gives an empty picture.
#include <cstdint>
#include <vector>

namespace quorlane {

struct ResourcePicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // alpha 0xFF for a 24-bit BMP
    bool empty() const { return pixels.empty(); }
};

ResourcePicture loadResourcePicture(const char* name);

// The picture with each pixel repeated to its size at this many dots per inch: the artwork
// exists at 96 only.
ResourcePicture scaledPicture(const ResourcePicture& picture, int dpi);

}  // namespace quorlane

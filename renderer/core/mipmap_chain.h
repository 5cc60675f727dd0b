#pragma once
// The mipmap levels of a picture, computed without a GL context so that the work can run
// while the window is still being made. The arithmetic is GLU's own for 8-bit RGB
// (gluBuild2DMipmaps): a non-power-of-two picture is box-filtered to the nearest powers of
// two in single-precision floats, then each level is the rounded mean of 2x2 texels, so
// the uploaded texture is the one GLU would have made, texel for texel.
#include <cstdint>
#include <vector>

#include "renderer/core/bmp_decoder.h"

namespace quorlane {

struct MipLevel {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // width*height*3, tightly packed, bottom row first
};

// GLU's rounding of a side to a power of two: down, except that a value whose top two bits
// are both set rounds up (1080 gives 1024, 1920 gives 2048). 0 for sides below 1.
int nearestPowerOfTwo(int side);

// Every level from the base (width x height, both powers of two) down to 1x1.
std::vector<MipLevel> buildMipmapChain(const RgbImage& image, int width, int height);

}  // namespace quorlane

#include "shell/show/bmp_encoder.h"

#include <cstring>
#include <limits>

namespace quorlane {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

void put16(char*& at, uint16_t value) {
    *at++ = static_cast<char>(value & 0xff);
    *at++ = static_cast<char>(value >> 8);
}

void put32(char*& at, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) *at++ = static_cast<char>((value >> shift) & 0xff);
}

}  // namespace

std::string bmpFileOf(const XrgbPixels& pixels, int32_t dotsPerMeterX, int32_t dotsPerMeterY) {
    if (pixels.data == nullptr || pixels.width <= 0 || pixels.height <= 0) return {};
    const auto width = static_cast<std::size_t>(pixels.width);
    const auto height = static_cast<std::size_t>(pixels.height);
    if (pixels.stride < width * 4) return {};
    const std::size_t rowBytes = (width * 3 + 3) & ~std::size_t{3};
    const std::size_t headers = kFileHeaderSize + kInfoHeaderSize;
    if (rowBytes > (std::numeric_limits<uint32_t>::max() - headers) / height) return {};
    const std::size_t imageBytes = rowBytes * height;

    std::string file(headers + imageBytes, '\0');
    char* at = file.data();
    *at++ = 'B';
    *at++ = 'M';
    put32(at, static_cast<uint32_t>(file.size()));
    put32(at, 0);  // reserved
    put32(at, static_cast<uint32_t>(headers));
    put32(at, kInfoHeaderSize);
    put32(at, static_cast<uint32_t>(pixels.width));
    put32(at, static_cast<uint32_t>(pixels.height));  // positive: bottom row first
    put16(at, 1);                                     // planes
    put16(at, 24);                                    // bits per pixel
    put32(at, 0);                                     // uncompressed
    put32(at, static_cast<uint32_t>(imageBytes));
    put32(at, static_cast<uint32_t>(dotsPerMeterX));
    put32(at, static_cast<uint32_t>(dotsPerMeterY));
    put32(at, 0);  // colours used
    put32(at, 0);  // important colours

    // The padding bytes are already zero.
    auto* out = reinterpret_cast<uint8_t*>(file.data() + headers);
    for (std::size_t row = 0; row < height; ++row) {
        const uint8_t* in = pixels.data + (height - 1 - row) * pixels.stride;
        uint8_t* dst = out + row * rowBytes;
        std::size_t x = 0;
        // Four pixels at a time become three words: the unused bytes squeezed out.
        for (; x + 4 <= width; x += 4, in += 16, dst += 12) {
            uint32_t p[4];
            std::memcpy(p, in, 16);
            const uint32_t words[3] = {(p[0] & 0xffffff) | (p[1] << 24),
                                       ((p[1] >> 8) & 0xffff) | (p[2] << 16),
                                       ((p[2] >> 16) & 0xff) | (p[3] << 8)};
            std::memcpy(dst, words, 12);
        }
        for (; x < width; ++x, in += 4, dst += 3) {
            dst[0] = in[0];
            dst[1] = in[1];
            dst[2] = in[2];
        }
    }
    return file;
}

}  // namespace quorlane

#include "shell/show/bmp_encoder.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "common/little_endian.h"

namespace quorlane {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
// What is encoded before it is handed on: small enough to stay in the cache.
constexpr std::size_t kPieceBytes = 256 * 1024;

// One row of pixels as 24-bit bytes, blue first.
void encodeRow(const uint8_t* in, std::size_t width, uint8_t* dst) {
    std::size_t x = 0;
    // Eight pixels at a time become three 64-bit words, the unused bytes squeezed out: half
    // the steps of four pixels in 32-bit words, on the way to the renderer's start.
    for (; x + 8 <= width; x += 8, in += 32, dst += 24) {
        uint64_t p[4];
        std::memcpy(p, in, 32);
        uint64_t pairs[4];  // two pixels each, in the low six bytes
        for (int i = 0; i < 4; ++i) {
            pairs[i] = (p[i] & 0xffffff) | ((p[i] >> 8) & 0xffffff000000);
        }
        const uint64_t words[3] = {pairs[0] | (pairs[1] << 48), (pairs[1] >> 16) | (pairs[2] << 32),
                                   (pairs[2] >> 32) | (pairs[3] << 16)};
        std::memcpy(dst, words, 24);
    }
    for (; x < width; ++x, in += 4, dst += 3) {
        dst[0] = in[0];
        dst[1] = in[1];
        dst[2] = in[2];
    }
}

}  // namespace

bool writeBmpFile(const XrgbPixels& pixels, int32_t dotsPerMeterX, int32_t dotsPerMeterY,
                  const std::function<bool(std::string_view)>& write) {
    if (pixels.data == nullptr || pixels.width <= 0 || pixels.height <= 0) return false;
    const auto width = static_cast<std::size_t>(pixels.width);
    const auto height = static_cast<std::size_t>(pixels.height);
    if (pixels.stride < width * 4) return false;
    const std::size_t rowBytes = (width * 3 + 3) & ~std::size_t{3};
    const std::size_t headers = kFileHeaderSize + kInfoHeaderSize;
    if (rowBytes > (std::numeric_limits<uint32_t>::max() - headers) / height) return false;
    const std::size_t imageBytes = rowBytes * height;

    char header[kFileHeaderSize + kInfoHeaderSize];
    char* at = header;
    *at++ = 'B';
    *at++ = 'M';
    putLittle32(at, static_cast<uint32_t>(headers + imageBytes));
    putLittle32(at, 0);  // reserved
    putLittle32(at, static_cast<uint32_t>(headers));
    putLittle32(at, kInfoHeaderSize);
    putLittle32(at, static_cast<uint32_t>(pixels.width));
    putLittle32(at, static_cast<uint32_t>(pixels.height));  // positive: bottom row first
    putLittle16(at, 1);                                     // planes
    putLittle16(at, 24);                                    // bits per pixel
    putLittle32(at, 0);                                     // uncompressed
    putLittle32(at, static_cast<uint32_t>(imageBytes));
    putLittle32(at, static_cast<uint32_t>(dotsPerMeterX));
    putLittle32(at, static_cast<uint32_t>(dotsPerMeterY));
    putLittle32(at, 0);  // colours used
    putLittle32(at, 0);  // important colours
    if (!write(std::string_view(header, sizeof header))) return false;

    // Whole rows at a time through one buffer that stays in the cache, rather than a fresh
    // screen-sized block whose every page would first have to be found and cleared.
    const std::size_t rowsAtOnce = std::max<std::size_t>(1, kPieceBytes / rowBytes);
    std::string piece(std::min(rowsAtOnce, height) * rowBytes, '\0');  // the padding stays zero
    for (std::size_t first = 0; first < height; first += rowsAtOnce) {
        const std::size_t rows = std::min(rowsAtOnce, height - first);
        for (std::size_t r = 0; r < rows; ++r) {
            const std::size_t row = first + r;
            encodeRow(pixels.data + (height - 1 - row) * pixels.stride, width,
                      reinterpret_cast<uint8_t*>(piece.data() + r * rowBytes));
        }
        if (!write(std::string_view(piece.data(), rows * rowBytes))) return false;
    }
    return true;
}

std::string bmpFileOf(const XrgbPixels& pixels, int32_t dotsPerMeterX, int32_t dotsPerMeterY) {
    std::string file;
    const bool whole =
        writeBmpFile(pixels, dotsPerMeterX, dotsPerMeterY, [&](std::string_view bytes) {
            file.append(bytes);
            return true;
        });
    return whole ? file : std::string();
}

}  // namespace quorlane

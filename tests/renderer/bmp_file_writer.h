#pragma once
// Writes small 24-bit BMP pictures for the renderer's tests.
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace quorlane::testing {

struct Rgb {
    uint8_t r, g, b;
};

// pixel(x, y) with y = 0 the top row of the picture.
inline bool writeBmpFile(const std::string& path, int width, int height,
                         const std::function<Rgb(int, int)>& pixel) {
    const int rowBytes = (width * 3 + 3) & ~3;
    const uint32_t pixelBytes = static_cast<uint32_t>(rowBytes * height);
    std::vector<uint8_t> file(54 + pixelBytes, 0);
    auto put16 = [&](size_t at, uint16_t v) {
        file[at] = static_cast<uint8_t>(v);
        file[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    put16(26, 1);
    put16(28, 24);
    put32(34, pixelBytes);
    for (int row = 0; row < height; ++row) {  // stored bottom-up
        uint8_t* out = &file[54 + static_cast<size_t>(row) * rowBytes];
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, height - 1 - row);
            out[3 * x] = c.b;
            out[3 * x + 1] = c.g;
            out[3 * x + 2] = c.r;
        }
    }
    std::ofstream stream(path, std::ios::binary);
    stream.write(reinterpret_cast<const char*>(file.data()),
                 static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(stream);
}

}  // namespace quorlane::testing

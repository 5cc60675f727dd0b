// Writes one small valid picture of every layout the decoder reads, as the fuzzer's seeds.
// Usage: bmp_seed_writer FOLDER
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/pictures/bmp_writer.h"

using namespace quorlane::testing;

namespace {

std::vector<Rgb> ramp(int entries) {
    std::vector<Rgb> palette;
    for (int i = 0; i < entries; ++i)
        palette.push_back({uint8_t(i * 255 / (entries - 1)), uint8_t(i), uint8_t(255 - i)});
    return palette;
}

// Rows of `width` pixels at `bits` per pixel filled with a simple pattern.
Bytes pattern(int width, int height, int bits) {
    std::vector<Bytes> rows;
    for (int y = 0; y < height; ++y) {
        Bytes row(size_t((width * bits + 7) / 8));
        for (size_t i = 0; i < row.size(); ++i) row[i] = uint8_t(i * 37 + size_t(y) * 11);
        rows.push_back(row);
    }
    return paddedRows(rows);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    std::vector<std::pair<std::string, BmpLayout>> seeds;
    for (int bits : {1, 4, 8}) {
        BmpLayout l{.width = 5,
                    .height = 3,
                    .bitsPerPixel = uint16_t(bits),
                    .palette = ramp(1 << bits),
                    .pixels = pattern(5, 3, bits)};
        seeds.emplace_back("indexed" + std::to_string(bits) + ".bmp", l);
        l.fileHeader = false;
        seeds.emplace_back("indexed" + std::to_string(bits) + "-headerless.dib", l);
    }
    seeds.emplace_back("indexed8-short-table.bmp",
                       BmpLayout{.width = 3,
                                 .height = 2,
                                 .bitsPerPixel = 8,
                                 .colorsUsed = 4,
                                 .palette = ramp(4),
                                 .pixels = paddedRows({{0, 1, 2}, {3, 2, 9}})});
    seeds.emplace_back("core8.bmp", BmpLayout{.headerSize = 12,
                                              .width = 3,
                                              .height = 2,
                                              .bitsPerPixel = 8,
                                              .palette = ramp(256),
                                              .pixels = pattern(3, 2, 8)});
    seeds.emplace_back("core24-headerless.dib", BmpLayout{.fileHeader = false,
                                                          .headerSize = 12,
                                                          .width = 3,
                                                          .height = 2,
                                                          .bitsPerPixel = 24,
                                                          .pixels = pattern(3, 2, 24)});
    seeds.emplace_back(
        "rgb16.bmp",
        BmpLayout{.width = 3, .height = 2, .bitsPerPixel = 16, .pixels = pattern(3, 2, 16)});
    seeds.emplace_back("rgb565.bmp", BmpLayout{.width = 3,
                                               .height = 2,
                                               .bitsPerPixel = 16,
                                               .compression = 3,
                                               .masks = {0xF800, 0x07E0, 0x001F},
                                               .pixels = pattern(3, 2, 16)});
    seeds.emplace_back(
        "rgb24.bmp",
        BmpLayout{.width = 5, .height = 3, .bitsPerPixel = 24, .pixels = pattern(5, 3, 24)});
    seeds.emplace_back(
        "rgb24-top-down.bmp",
        BmpLayout{.width = 5, .height = -3, .bitsPerPixel = 24, .pixels = pattern(5, 3, 24)});
    seeds.emplace_back(
        "rgb32.bmp",
        BmpLayout{.width = 3, .height = 2, .bitsPerPixel = 32, .pixels = pattern(3, 2, 32)});
    seeds.emplace_back("rgbx32-fields-headerless.dib", BmpLayout{.fileHeader = false,
                                                                 .width = 3,
                                                                 .height = 2,
                                                                 .bitsPerPixel = 32,
                                                                 .compression = 3,
                                                                 .masks = {0xFF, 0xFF00, 0xFF0000},
                                                                 .pixels = pattern(3, 2, 32)});
    seeds.emplace_back(
        "rle8.bmp",
        BmpLayout{.width = 6,
                  .height = 4,
                  .bitsPerPixel = 8,
                  .compression = 1,
                  .palette = ramp(256),
                  .pixels = {0x03, 0x01, 0x00, 0x03, 0x02, 0x03, 0x04, 0x00, 0x00, 0x00, 0x08,
                             0x05, 0x00, 0x00, 0x00, 0x02, 0x02, 0x00, 0x02, 0x07, 0x00, 0x01}});
    seeds.emplace_back("rle4.bmp", BmpLayout{.width = 5,
                                             .height = 3,
                                             .bitsPerPixel = 4,
                                             .compression = 2,
                                             .palette = ramp(16),
                                             .pixels = {0x05, 0x12, 0x00, 0x00, 0x00, 0x05, 0x34,
                                                        0x56, 0x70, 0x00, 0x00, 0x00, 0x00, 0x02,
                                                        0x01, 0x00, 0x03, 0x9A, 0x00, 0x01}});

    int failures = 0;
    for (const auto& [name, layout] : seeds) {
        const Bytes bytes = buildBmp(layout);
        std::ofstream out(std::string(argv[1]) + "/" + name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
        if (!out) ++failures;
    }
    return failures ? 1 : 0;
}

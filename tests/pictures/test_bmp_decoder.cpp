#include "renderer/core/bmp_decoder.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

#include "tests/pictures/allocation_probe.h"
#include "tests/pictures/bmp_writer.h"

namespace quorlane {
namespace {

using testing::BmpLayout;
using testing::buildBmp;
using testing::Bytes;
using testing::paddedRows;
using testing::Rgb;

RgbImage decodeOk(const Bytes& file) {
    std::string error;
    std::optional<RgbImage> image = decodeBmp(file.data(), file.size(), &error);
    EXPECT_TRUE(image.has_value()) << error;
    if (!image) return {};
    EXPECT_EQ(image->data.size(), size_t(image->width) * size_t(image->height) * 3);
    return std::move(*image);
}

std::string decodeError(const Bytes& file) {
    std::string error;
    EXPECT_FALSE(decodeBmp(file.data(), file.size(), &error).has_value());
    return error;
}

// Pixel at column x of row y, counted from the bottom as the buffer stores them.
Rgb at(const RgbImage& image, int x, int y) {
    const uint8_t* p = image.data.data() + (size_t(y) * size_t(image.width) + size_t(x)) * 3;
    return {p[0], p[1], p[2]};
}

// Checks a whole picture against expected rows given bottom row first.
void expectRows(const RgbImage& image, const std::vector<std::vector<Rgb>>& rows) {
    ASSERT_EQ(image.height, int(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y) {
        ASSERT_EQ(image.width, int(rows[y].size()));
        for (size_t x = 0; x < rows[y].size(); ++x) {
            EXPECT_EQ(at(image, int(x), int(y)), rows[y][x]) << "x=" << x << " y=" << y;
        }
    }
}

// A palette whose every entry is distinct and none is black.
std::vector<Rgb> distinctPalette(int entries) {
    std::vector<Rgb> palette;
    for (int i = 0; i < entries; ++i)
        palette.push_back({uint8_t(i), uint8_t(255 - i), uint8_t(i ^ 0x5A)});
    return palette;
}

std::vector<std::vector<Rgb>> lookUp(const std::vector<Rgb>& palette,
                                     const std::vector<std::vector<int>>& rows) {
    std::vector<std::vector<Rgb>> out;
    for (const auto& row : rows) {
        out.emplace_back();
        for (int index : row) out.back().push_back(palette[size_t(index)]);
    }
    return out;
}

TEST(BmpDecoder, PaletteDepthsUnpackMostSignificantBitsFirst) {
    struct Case {
        uint16_t bits;
        int width;
        std::vector<Bytes> storedRows;          // bottom row first
        std::vector<std::vector<int>> indices;  // what those bytes mean
    };
    const std::vector<Case> cases = {
        {1,
         10,
         {{0xAC, 0x40}, {0x53, 0x80}},
         {{1, 0, 1, 0, 1, 1, 0, 0, 0, 1}, {0, 1, 0, 1, 0, 0, 1, 1, 1, 0}}},
        {4, 3, {{0x1F, 0x30}, {0x45, 0x60}}, {{1, 15, 3}, {4, 5, 6}}},
        {8, 3, {{0x00, 0xFF, 0x80}, {0x07, 0x08, 0x09}}, {{0, 255, 128}, {7, 8, 9}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        const std::vector<Rgb> palette = distinctPalette(1 << c.bits);
        BmpLayout l{.width = c.width,
                    .height = 2,
                    .bitsPerPixel = c.bits,
                    .palette = palette,
                    .pixels = paddedRows(c.storedRows)};
        expectRows(decodeOk(buildBmp(l)), lookUp(palette, c.indices));
    }
}

TEST(BmpDecoder, ShortColourTableSetsPixelOffsetAndClampsStrayIndices) {
    const std::vector<Rgb> palette = {{10, 20, 30}, {40, 50, 60}};
    for (bool fileHeader : {false, true}) {
        SCOPED_TRACE(fileHeader);
        BmpLayout l{.fileHeader = fileHeader,
                    .width = 3,
                    .bitsPerPixel = 8,
                    .colorsUsed = 2,
                    .palette = palette,
                    .pixels = paddedRows({{1, 0, 200}})};
        expectRows(decodeOk(buildBmp(l)), {{palette[1], palette[0], palette[1]}});
    }
}

TEST(BmpDecoder, CoreHeaderWithThreeByteColourEntries) {
    const std::vector<Rgb> palette = distinctPalette(256);
    // Headerless: the pixels follow 256 three-byte entries directly.
    BmpLayout indexed{.fileHeader = false,
                      .headerSize = 12,
                      .width = 2,
                      .height = 2,
                      .bitsPerPixel = 8,
                      .palette = palette,
                      .pixels = paddedRows({{3, 4}, {250, 0}})};
    expectRows(decodeOk(buildBmp(indexed)), lookUp(palette, {{3, 4}, {250, 0}}));

    BmpLayout direct{.headerSize = 12,
                     .width = 1,
                     .height = 2,
                     .bitsPerPixel = 24,
                     .pixels = paddedRows({{1, 2, 3}, {4, 5, 6}})};
    expectRows(decodeOk(buildBmp(direct)), {{{3, 2, 1}}, {{6, 5, 4}}});
}

TEST(BmpDecoder, SixteenBitDefaultsToFiveFiveFiveAndHonoursMasks) {
    auto words = [](std::vector<uint16_t> values) {
        Bytes row;
        for (uint16_t v : values) testing::put16(row, v);
        return paddedRows({row});
    };
    BmpLayout plain{
        .width = 4, .bitsPerPixel = 16, .pixels = words({0x7C00, 0x03E0, 0x001F, 0x4210})};
    expectRows(decodeOk(buildBmp(plain)),
               {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {132, 132, 132}}});

    BmpLayout rgb565{.width = 3,
                     .bitsPerPixel = 16,
                     .compression = 3,
                     .masks = {0xF800, 0x07E0, 0x001F},
                     .pixels = words({0xF800, 0x0400, 0x0841})};
    expectRows(decodeOk(buildBmp(rgb565)), {{{255, 0, 0}, {0, 130, 0}, {8, 8, 8}}});
}

TEST(BmpDecoder, ThirtyTwoBitDefaultsToBgrxAndHonoursMasks) {
    BmpLayout plain{
        .width = 2, .bitsPerPixel = 32, .pixels = {0x10, 0x20, 0x30, 0xFF, 0xFE, 0x00, 0x01, 0x00}};
    expectRows(decodeOk(buildBmp(plain)), {{{0x30, 0x20, 0x10}, {0x01, 0x00, 0xFE}}});

    BmpLayout rgbx{.width = 1,
                   .bitsPerPixel = 32,
                   .compression = 3,
                   .masks = {0xFF, 0xFF00, 0xFF0000},
                   .pixels = {0x10, 0x20, 0x30, 0x40}};
    expectRows(decodeOk(buildBmp(rgbx)), {{{0x10, 0x20, 0x30}}});

    // Ten bits a channel keep their top eight; a zero mask gives a dark channel.
    Bytes wide;
    testing::put32(wide, 0x3FF00000u | 0x200u << 10);
    BmpLayout tenBit{.width = 1,
                     .bitsPerPixel = 32,
                     .compression = 3,
                     .masks = {0x3FF00000, 0xFFC00, 0},
                     .pixels = wide};
    expectRows(decodeOk(buildBmp(tenBit)), {{{255, 0x80, 0}}});
}

// Rows of 4098 bytes padded to 4100, stored blue first: any slip in the padding skews every
// row after the first, and a missed swap or flip shows in every pixel.
TEST(BmpDecoder, TwentyFourBitOddWidthSwapsToRgbWithoutSkewInEveryLayout) {
    const int width = 1366, height = 3;
    std::vector<Bytes> rows;  // bottom first
    for (int y = 0; y < height; ++y) {
        Bytes row;
        for (int x = 0; x < width; ++x)
            row.insert(row.end(), {uint8_t(y * 50 + 1), uint8_t(x >> 8), uint8_t(x)});
        rows.push_back(row);
    }
    BmpLayout bottomUp{
        .width = width, .height = height, .bitsPerPixel = 24, .pixels = paddedRows(rows)};
    BmpLayout headerless = bottomUp;
    headerless.fileHeader = false;
    BmpLayout topDown = bottomUp;
    topDown.height = -height;
    topDown.pixels = paddedRows({rows.rbegin(), rows.rend()});

    for (const BmpLayout* l : {&bottomUp, &headerless, &topDown}) {
        const RgbImage image = decodeOk(buildBmp(*l));
        ASSERT_EQ(image.width, width);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                ASSERT_EQ(at(image, x, y), (Rgb{uint8_t(x), uint8_t(x >> 8), uint8_t(y * 50 + 1)}))
                    << "x=" << x << " y=" << y;
            }
        }
    }
}

TEST(BmpDecoder, RunLengthEightBit) {
    const std::vector<Rgb> palette = distinctPalette(256);
    const Rgb black{0, 0, 0};
    const Bytes stream = {
        0x03, 0x01, 0x00, 0x03, 0x02, 0x03, 0x04, 0x00,  // run of three 1s, literal 2 3 4 + pad
        0x00, 0x00,                                      // end of line
        0x08, 0x05, 0x00, 0x00,                          // run longer than the row, cut at its edge
        0x00, 0x02, 0x02, 0x00, 0x02, 0x07,              // skip two pixels, two 7s
        0x00, 0x01,                                      // end of picture
    };
    BmpLayout l{.width = 6,
                .height = 4,
                .bitsPerPixel = 8,
                .compression = 1,
                .palette = palette,
                .pixels = stream};
    const auto p = [&](int i) { return palette[size_t(i)]; };
    expectRows(decodeOk(buildBmp(l)), {{p(1), p(1), p(1), p(2), p(3), p(4)},
                                       {p(5), p(5), p(5), p(5), p(5), p(5)},
                                       {black, black, p(7), p(7), black, black},
                                       {black, black, black, black, black, black}});
}

TEST(BmpDecoder, RunLengthFourBit) {
    const std::vector<Rgb> palette = distinctPalette(16);
    const Bytes stream = {
        0x05, 0x12, 0x00, 0x00,              // run alternating 1 and 2
        0x00, 0x05, 0x34, 0x56, 0x70, 0x00,  // five literal nibbles, padded to a word
        0x00, 0x02, 0x00, 0x05,              // delta below the picture ends it
    };
    BmpLayout l{.width = 5,
                .height = 2,
                .bitsPerPixel = 4,
                .compression = 2,
                .palette = palette,
                .pixels = stream};
    expectRows(decodeOk(buildBmp(l)), lookUp(palette, {{1, 2, 1, 2, 1}, {3, 4, 5, 6, 7}}));
}

// A file that ends inside its bit field masks or inside a run-length code is refused, and
// nothing past its end is read: there the memory holds what would make it decode. The file
// alone is also decoded from a buffer of exactly its size, for the sanitizer build to watch.
TEST(BmpDecoder, FilesEndingMidStructureAreErrorsWhateverFollowsInMemory) {
    const Bytes endOfPicture = {0x00, 0x00, 0x01};
    const auto runLength = [](uint16_t bits, Bytes stream) {
        return buildBmp(BmpLayout{.width = 8,
                                  .height = 2,
                                  .bitsPerPixel = bits,
                                  .compression = bits == 8 ? 1u : 2u,
                                  .palette = distinctPalette(1 << bits),
                                  .pixels = std::move(stream)});
    };
    // The one pixel lies inside the info header, so only the masks are missing.
    const Bytes noMasks = buildBmp(BmpLayout{
        .width = 1, .height = 1, .bitsPerPixel = 32, .compression = 3, .pixelOffset = 14});
    const struct {
        const char* name;
        Bytes file;
        Bytes beyond;
    } cases[] = {
        {"the bit field masks", noMasks, Bytes(12, 0xFF)},
        {"a run's second byte", runLength(8, {0x02, 0x01, 0x05}), endOfPicture},
        {"a delta's two bytes", runLength(8, {0x00, 0x02, 0x01}), endOfPicture},
        {"a literal's indices", runLength(4, {0x00, 0x06, 0x12}), endOfPicture},
        {"the pad byte after an odd literal", runLength(8, {0x00, 0x03, 0x01, 0x02, 0x03}),
         endOfPicture},
        {"the pad byte after five literal nibbles", runLength(4, {0x00, 0x05, 0x12, 0x34, 0x50}),
         endOfPicture},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes exact(c.file.begin(), c.file.end());
        std::string error;
        EXPECT_FALSE(decodeBmp(exact.data(), exact.size(), &error).has_value());
        EXPECT_EQ(error, "Image file conversion error.");
        Bytes memory = c.file;
        memory.insert(memory.end(), c.beyond.begin(), c.beyond.end());
        error.clear();
        EXPECT_FALSE(decodeBmp(memory.data(), c.file.size(), &error).has_value());
        EXPECT_EQ(error, "Image file conversion error.");
    }
}

// A one-bit picture: light columns where x is a multiple of 10, dark elsewhere.
Bytes stripedRows(int width, int height) {
    const size_t stride = (size_t(width) + 31) / 32 * 4;
    Bytes pixels(stride * size_t(height), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; x += 10)
            pixels[size_t(y) * stride + size_t(x) / 8] |= uint8_t(0x80 >> (x % 8));
    }
    return pixels;
}

TEST(BmpDecoder, AnyShapeUpToTheirPixelBoundDecodes) {
    const std::vector<Rgb> palette = {{0, 0, 0}, {250, 240, 230}};
    const struct {
        int width, height;
        bool decodes;
    } cases[] = {
        {20000, 2000, true},                        // a panorama wider than any texture side
        {2000, 20000, true},  {16384, 4096, true},  // 64 Mi pixels, the most
        {16384, 4097, false}, {16777216, 5, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        const Bytes file = buildBmp(BmpLayout{.width = c.width,
                                              .height = c.height,
                                              .bitsPerPixel = 1,
                                              .palette = palette,
                                              .pixels = stripedRows(c.width, c.height)});
        if (!c.decodes) {
            EXPECT_EQ(decodeError(file), "Image file conversion error.");
            continue;
        }
        const RgbImage image = decodeOk(file);
        ASSERT_EQ(image.width, c.width);
        ASSERT_EQ(image.height, c.height);
        const int lastX = c.width - 1 - (c.width - 1) % 10;
        for (const auto& [x, y] :
             {std::pair{0, 0}, {lastX, c.height - 1}, {c.width - 1, c.height / 2}}) {
            EXPECT_EQ(at(image, x, y), x % 10 == 0 ? palette[1] : palette[0]) << x << "," << y;
        }
    }
}

TEST(BmpDecoder, TinyRunLengthFilesDeclaringHugePicturesAreRefusedBeforeAllocating) {
    // A kilobyte file of runs: enough for a small picture, nowhere near a huge one.
    Bytes stream;
    for (int i = 0; i < 450; ++i) stream.insert(stream.end(), {0xFF, 0x01});
    stream.insert(stream.end(), {0x00, 0x01});
    const struct {
        int width, height;
        uint16_t bits;
        uint32_t compression;
    } cases[] = {
        {16384, 16384, 8, 1},
        {8000, 8000, 8, 1},
        {8000, 8000, 4, 2},
        {30000, 2000, 8, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " at " +
                     std::to_string(c.bits));
        const Bytes file = buildBmp(BmpLayout{.width = c.width,
                                              .height = c.height,
                                              .bitsPerPixel = c.bits,
                                              .compression = c.compression,
                                              .colorsUsed = 2,
                                              .palette = distinctPalette(2),
                                              .pixels = stream});
        ASSERT_LT(file.size(), 1024u);
        testing::largestAllocation = 0;
        EXPECT_EQ(decodeError(file), "Image file conversion error.");
        EXPECT_LT(testing::largestAllocation.load(), size_t(1) << 20);
    }
    // The same stream makes a picture of a sensible size, partly painted.
    const Bytes small = buildBmp(BmpLayout{.width = 2000,
                                           .height = 1000,
                                           .bitsPerPixel = 8,
                                           .compression = 1,
                                           .colorsUsed = 2,
                                           .palette = distinctPalette(2),
                                           .pixels = stream});
    const RgbImage image = decodeOk(small);
    EXPECT_EQ(at(image, 1999, 0), distinctPalette(2)[1]);
    EXPECT_EQ(at(image, 0, 1), (Rgb{0, 0, 0}));
}

TEST(BmpDecoder, HeaderSizesOtherThanCoreAndInfoAreUnknown) {
    for (uint32_t size : {0u, 16u, 64u, 108u, 124u}) {
        BmpLayout l{.headerSize = size, .pixels = {1, 2, 3, 0}};
        EXPECT_EQ(decodeError(buildBmp(l)), "Unknown DIB file format.") << size;
    }
    const Bytes full = buildBmp(BmpLayout{.pixels = {1, 2, 3, 0}});
    for (size_t cut : {size_t(0), size_t(1), size_t(13), size_t(20), size_t(53)}) {
        EXPECT_EQ(decodeError(Bytes(full.begin(), full.begin() + long(cut))),
                  "Unknown DIB file format.")
            << cut;
    }
}

TEST(BmpDecoder, HostileHeadersAndDataAreConversionErrors) {
    const BmpLayout good{.width = 2, .height = 2, .bitsPerPixel = 24, .pixels = Bytes(16, 7)};
    ASSERT_TRUE(decodeBmp(buildBmp(good).data(), buildBmp(good).size(), nullptr).has_value());

    std::vector<std::pair<const char*, Bytes>> cases;
    auto add = [&](const char* name, auto change) {
        BmpLayout l = good;
        change(l);
        cases.emplace_back(name, buildBmp(l));
    };
    add("zero width", [](BmpLayout& l) { l.width = 0; });
    add("negative width", [](BmpLayout& l) { l.width = -2; });
    add("zero height", [](BmpLayout& l) { l.height = 0; });
    add("too wide", [](BmpLayout& l) { l.width = 16385; });
    add("too tall top-down", [](BmpLayout& l) { l.height = -16385; });
    add("most negative height", [](BmpLayout& l) { l.height = INT32_MIN; });
    add("two bits a pixel", [](BmpLayout& l) { l.bitsPerPixel = 2; });
    add("zero bits a pixel", [](BmpLayout& l) { l.bitsPerPixel = 0; });
    add("embedded JPEG", [](BmpLayout& l) { l.compression = 4; });
    add("RLE8 at 24 bits", [](BmpLayout& l) { l.compression = 1; });
    add("bit fields at 24 bits", [](BmpLayout& l) { l.compression = 3; });
    add("truncated rows", [](BmpLayout& l) { l.pixels.resize(13); });
    add("offset past the end", [](BmpLayout& l) { l.pixelOffset = 0xFFFFFFF0; });
    add("pixels needing more than the file", [](BmpLayout& l) {
        l.width = 16384;
        l.height = 16384;
    });
    add("colour table past the end", [](BmpLayout& l) {
        l.bitsPerPixel = 8;
        l.palette = distinctPalette(2);  // 256 are expected
        l.pixels = {};
    });
    add("headerless table past the end", [](BmpLayout& l) {
        l.fileHeader = false;
        l.colorsUsed = 0xFFFFFFFF;
    });
    add("bit field masks missing", [](BmpLayout& l) {
        l.bitsPerPixel = 32;
        l.compression = 3;
        l.pixels = {};
    });
    add("top-down RLE", [](BmpLayout& l) {
        l.bitsPerPixel = 8;
        l.compression = 1;
        l.height = -2;
        l.palette = distinctPalette(256);
        l.pixels = {0x00, 0x01};
    });
    add("RLE without end of picture", [](BmpLayout& l) {
        l.bitsPerPixel = 8;
        l.compression = 1;
        l.palette = distinctPalette(256);
        l.pixels = {0x02, 0x01, 0x00, 0x00};
    });
    add("RLE literal cut short", [](BmpLayout& l) {
        l.bitsPerPixel = 4;
        l.compression = 2;
        l.palette = distinctPalette(16);
        l.pixels = {0x00, 0x06, 0x12};
    });
    add("RLE delta cut short", [](BmpLayout& l) {
        l.bitsPerPixel = 8;
        l.compression = 1;
        l.palette = distinctPalette(256);
        l.pixels = {0x00, 0x02, 0x01};
    });
    for (const auto& [name, file] : cases)
        EXPECT_EQ(decodeError(file), "Image file conversion error.") << name;

    EXPECT_FALSE(decodeBmp(nullptr, 100, nullptr).has_value());
}

}  // namespace
}  // namespace quorlane

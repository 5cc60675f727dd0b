// The six button face pictures: their file format, the colours of the four-pixel ring the
// painter cuts from them, and their presence in the shell program.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <string>

#include "common/little_endian.h"
#include "tests/support/read_file.h"
#include "tests/support/show_harness.h"

namespace quorlane {
namespace {

using testing::BmpInfo;
using testing::readBmp;

const std::string kFaces = std::string(QUORLANE_SOURCE_DIR) + "/shell/assets/faces/";

// Cross-sections at the middle of each side, outside in (top: rows 0-3 of column 32;
// bottom: rows 24-21; left: columns 0-3 of row 12; right: columns 63-60).
struct CrossSection {
    const char* file;
    std::array<unsigned long, 4> top, bottom, left, right;
};

const CrossSection kCrossSections[] = {
    {"normal.bmp",
     {0xDCD6C2, 0x003C74, 0xF3F3EE, 0xF3F3EE},
     {0xFAFAF6, 0x003C74, 0xD6D0C5, 0xE2DFD6},
     {0xE2DECB, 0x003C74, 0xF4F4F0, 0xF4F4F0},
     {0xF0EEE0, 0x003C74, 0xE8E5DF, 0xEEEDE7}},
    {"highlight.bmp",
     {0xDCD6C2, 0x003C74, 0xFFF0CF, 0xFDD889},
     {0xFAFAF6, 0x003C74, 0xE59700, 0xF8B330},
     {0xE2DECB, 0x003C74, 0xFCCA69, 0xFBCA6A},
     {0xF0EEE0, 0x003C74, 0xFCCA69, 0xFBCA6A}},
    {"highlight_select.bmp",
     {0xDCD6C2, 0x003C74, 0xFFF0CF, 0xFDD889},
     {0xFAFAF6, 0x003C74, 0xE59700, 0xF8B330},
     {0xE2DECB, 0x003C74, 0xFCCA69, 0xFBCA6A},
     {0xF0EEE0, 0x003C74, 0xFCCA69, 0xFBCA6A}},
    {"selected.bmp",
     {0xDCD6C2, 0x003C74, 0xCEE7FF, 0xCEE7FF},
     {0xFAFAF6, 0x003C74, 0x6982EE, 0x6982EE},
     {0xE2DECB, 0x003C74, 0xA9C5EF, 0xA8C6F0},
     {0xF0EEE0, 0x003C74, 0xA9C5EF, 0xA9C5EF}},
    {"pressed.bmp",
     {0xECE9D8, 0xDCD6C2, 0x003C74, 0xD1CCC1},
     {0xECE9D8, 0xFAFAF6, 0x003C74, 0xF2F1EE},
     {0xECE9D8, 0xE2DECB, 0x003C74, 0xD7D4CB},
     {0xECE9D8, 0xF0EEE0, 0x003C74, 0xE4E3DC}},
    {"disable.bmp",
     {0xECE9D8, 0xC9C7BA, 0xF5F4EA, 0xF5F4EA},
     {0xECE9D8, 0xC9C7BA, 0xF5F4EA, 0xF5F4EA},
     {0xECE9D8, 0xC9C7BA, 0xF5F4EA, 0xF5F4EA},
     {0xECE9D8, 0xC9C7BA, 0xF5F4EA, 0xF5F4EA}},
};

uint32_t le32(const std::string& bytes, std::size_t at) {
    return readLittle32(reinterpret_cast<const uint8_t*>(bytes.data()) + at);
}

TEST(ButtonFaces, AreUncompressed24BitPicturesWithTheRingColours) {
    for (const CrossSection& face : kCrossSections) {
        SCOPED_TRACE(face.file);
        const auto bmp = readBmp(kFaces + face.file);
        ASSERT_TRUE(bmp);
        EXPECT_EQ(bmp->bytes.size(), 4854u);
        EXPECT_EQ(le32(bmp->bytes, 2), 4854u);  // file size
        EXPECT_EQ(le32(bmp->bytes, 10), 54u);   // pixels right after the headers
        EXPECT_EQ(bmp->infoHeaderSize, 40);
        EXPECT_EQ(bmp->width, 64);
        EXPECT_EQ(bmp->height, 25);  // positive: rows bottom-up
        EXPECT_EQ(bmp->bitsPerPixel, 24);
        EXPECT_EQ(le32(bmp->bytes, 30), 0u);  // no compression
        EXPECT_EQ(le32(bmp->bytes, 34), 4800u);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(bmp->pixel(32, i), face.top[i]) << "top " << i;
            EXPECT_EQ(bmp->pixel(32, 24 - i), face.bottom[i]) << "bottom " << i;
            EXPECT_EQ(bmp->pixel(i, 12), face.left[i]) << "left " << i;
            EXPECT_EQ(bmp->pixel(63 - i, 12), face.right[i]) << "right " << i;
        }
    }
}

TEST(ButtonFaces, CornersAreCutDiagonallyAndMirrored) {
    // (x, y) of the corner pixel and of the two blend pixels along each side of it, in the
    // top-left corner; `inset` moves them one pixel in for the pressed face.
    struct Corner {
        const char* file;
        int inset;
    };
    for (const Corner corner : {Corner{"normal.bmp", 0}, Corner{"highlight.bmp", 0},
                                Corner{"selected.bmp", 0}, Corner{"pressed.bmp", 1}}) {
        SCOPED_TRACE(corner.file);
        const auto bmp = readBmp(kFaces + corner.file);
        ASSERT_TRUE(bmp);
        const int d = corner.inset;
        for (const auto& mirror :
             {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
            // Plain copies: Clang before 16 cannot capture structured bindings in a lambda.
            const bool mx = mirror.first, my = mirror.second;
            const auto at = [&](int x, int y) {
                return bmp->pixel(mx ? 63 - x : x, my ? 24 - y : y);
            };
            EXPECT_EQ(at(1 + d, 1 + d), 0xE6E1D0u);
            EXPECT_EQ(at(2 + d, 1 + d), 0x7A95A8u);
            EXPECT_EQ(at(1 + d, 2 + d), 0x7A95A8u);
            EXPECT_EQ(at(3 + d, 1 + d), 0x255783u);
            EXPECT_EQ(at(1 + d, 3 + d), 0x255783u);
            EXPECT_EQ(at(4 + d, 1 + d), 0x003C74u);  // the straight outline after the cut
        }
    }
    const auto pressed = readBmp(kFaces + "pressed.bmp");
    ASSERT_TRUE(pressed);
    for (int x = 0; x < 64; ++x) {
        EXPECT_EQ(pressed->pixel(x, 0), 0xECE9D8u) << x;
        EXPECT_EQ(pressed->pixel(x, 24), 0xECE9D8u) << x;
    }
    for (int y = 0; y < 25; ++y) {
        EXPECT_EQ(pressed->pixel(0, y), 0xECE9D8u) << y;
        EXPECT_EQ(pressed->pixel(63, y), 0xECE9D8u) << y;
    }
}

TEST(ButtonFaces, HighLightSelectIsTheHoverPictureAndAllSixAreInTheShell) {
    EXPECT_EQ(test::readFile(kFaces + "highlight_select.bmp"),
              test::readFile(kFaces + "highlight.bmp"));

    // The shell's windows part, which the dialog's buttons are drawn by.
    const std::string program = test::readFile(std::string(QUORLANE_BIN_DIR) + "/quorlane-qt.so");
    ASSERT_FALSE(program.empty());
    for (const char* file : {"normal.bmp", "highlight.bmp", "highlight_select.bmp", "pressed.bmp",
                             "disable.bmp", "selected.bmp"}) {
        const std::string face = test::readFile(kFaces + file);
        ASSERT_EQ(face.size(), 4854u) << file;
        EXPECT_NE(program.find(face), std::string::npos)
            << file << " is not built into quorlane-qt.so";
    }
}

}  // namespace
}  // namespace quorlane

// The picture area both show windows fill: what it holds after each kind of picture, and the
// resolution its file records.
#include "shell/show/show_picture.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_folder.h"

namespace quorlane {
namespace {

// The file's width, height and both resolutions, as stored little-endian at their offsets.
struct Header {
    int32_t width, height, dotsPerMeterX, dotsPerMeterY;
    bool operator==(const Header&) const = default;
};

Header headerOf(const std::string& bytes) {
    auto at = [&](std::size_t offset) {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes.at(offset + i));
        return static_cast<int32_t>(v);
    };
    return {at(18), at(22), at(38), at(42)};
}

TEST(ShowPicture, HoldsTheLastWholePictureAndSavesItWithItsResolution) {
    const test::TempFolder folder;
    ShowPicture picture;
    picture.holdBlack(3, 2);

    DecodedPicture chosen{2, 1, {0x00112233, 0x00445566}, 2835, 1000};
    ASSERT_TRUE(picture.take(std::move(chosen)));
    ASSERT_TRUE(picture.saveAs(folder.file("chosen.bmp")));
    const std::string file = folder.read("chosen.bmp");
    EXPECT_EQ(headerOf(file), (Header{2, 1, 2835, 1000}));
    // One row of blue, green, red triples, padded to four bytes.
    EXPECT_EQ(file.substr(54), std::string("\x33\x22\x11\x66\x55\x44\0\0", 8));

    // Neither a picture that is not whole nor a missing capture replaces what is held.
    DecodedPicture broken{4, 4, {0, 0, 0}, 3780, 3780};
    EXPECT_FALSE(picture.take(std::move(broken)));
    struct NoCapture {
        XrgbPixels pixels() const { return {}; }
    };
    EXPECT_FALSE(picture.take(std::unique_ptr<NoCapture>()));
    EXPECT_EQ(picture.pixels().width, 2);
    ASSERT_TRUE(picture.saveAs(folder.file("kept.bmp")));
    EXPECT_EQ(folder.read("kept.bmp"), file);

    // Black takes the screen's density of 96 dots per inch.
    picture.holdBlack(1, 1);
    ASSERT_TRUE(picture.saveAs(folder.file("black.bmp")));
    const std::string black = folder.read("black.bmp");
    EXPECT_EQ(headerOf(black), (Header{1, 1, 3780, 3780}));
    EXPECT_EQ(black.substr(54), std::string(4, '\0'));
}

}  // namespace
}  // namespace quorlane

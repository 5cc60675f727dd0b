// The chosen picture as the shell loads it: pictures of any size are taken, very large ones
// scaled down with their shape kept.
#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>

#include <unistd.h>
#include <filesystem>

#include "shell/platform/picture_file.h"
#include "tests/support/temp_folder.h"

namespace quorlane {
namespace {

namespace fs = std::filesystem;

TEST(PictureSize, LargePicturesKeepTheirShapeWithinTheCap) {
    const struct {
        QSize stored;
        QSize loaded;
    } cases[] = {
        {{1920, 1080}, {1920, 1080}},   {{4096, 4096}, {4096, 4096}},  // exactly the cap
        {{4097, 4096}, {2049, 2048}},   {{8064, 6048}, {4032, 3024}},  // a 48 MP phone photo
        {{20000, 2000}, {10000, 1000}},                                // a panorama
        {{12289, 12289}, {3073, 3073}}, {{100000000, 1}, {16666667, 1}}, {{0, 0}, {0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pictureSizeWithin(c.stored, kMaxPicturePixels), c.loaded)
            << c.stored.width() << "x" << c.stored.height();
    }
}

// A 48-megapixel colour JPEG, above what Qt decodes by default (128 MB as RGB32).
TEST(PictureFile, APhonePhotoIsTakenScaledDownNotRefused) {
    const test::TempFolder folder;
    const fs::path path = folder.file("photo.jpg");
    {
        QImage photo(8064, 6048, QImage::Format_RGB888);
        photo.fill(QColor(200, 40, 90));
        // A mark in the top-left corner tells that the picture is neither flipped nor cropped.
        for (int y = 0; y < 600; ++y) {
            for (int x = 0; x < 800; ++x) photo.setPixelColor(x, y, QColor(20, 220, 30));
        }
        ASSERT_TRUE(photo.save(QString::fromStdString(path), "JPEG", 90));
    }
    const QImage loaded = loadPictureFile(path);
    ASSERT_FALSE(loaded.isNull());
    EXPECT_EQ(loaded.size(), QSize(4032, 3024));
    const auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) < 12 && std::abs(a.green() - b.green()) < 12 &&
               std::abs(a.blue() - b.blue()) < 12;
    };
    EXPECT_TRUE(near(loaded.pixelColor(100, 100), QColor(20, 220, 30)));
    EXPECT_TRUE(near(loaded.pixelColor(4000, 3000), QColor(200, 40, 90)));
    EXPECT_TRUE(near(loaded.pixelColor(600, 100), QColor(200, 40, 90)));
}

}  // namespace
}  // namespace quorlane

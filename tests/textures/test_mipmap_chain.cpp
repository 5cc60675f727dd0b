// The picture texture's mipmap levels, computed ahead of the GL context, held to what GLU's
// gluBuild2DMipmaps makes of the same picture, level by level and texel by texel, read
// back from a real GL context (run under Xvfb).
#include <GL/freeglut.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "renderer/core/bmp_decoder.h"
#include "renderer/core/mipmap_chain.h"
#include "renderer/core/picture_texture.h"
#include "tests/pictures/bmp_writer.h"
#include "tests/renderer/pin_loaded_libraries.h"
#include "tests/support/temp_folder.h"

namespace quorlane {
namespace {

namespace fs = std::filesystem;

TEST(MipmapChain, SidesRoundToGlusPowersOfTwo) {
    const std::pair<int, int> cases[] = {{0, 0},       {1, 1},       {2, 2},       {3, 4},
                                         {5, 4},       {6, 8},       {7, 8},       {767, 512},
                                         {768, 1024},  {1080, 1024}, {1366, 1024}, {1920, 2048},
                                         {2160, 2048}, {3840, 4096}};
    for (const auto& [side, power] : cases) EXPECT_EQ(nearestPowerOfTwo(side), power) << side;
}

TEST(MipmapChain, HalvesWithRoundedMeansDownToOneTexel) {
    // A 2x2 picture, bottom row first: the next level is the rounded mean of the four.
    RgbImage image{2, 2, {10, 20, 30, 11, 21, 31, 12, 22, 32, 14, 25, 36}};
    const auto levels = buildMipmapChain(image, 2, 2);
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[0].rgb, image.data);
    EXPECT_EQ(levels[1].width, 1);
    EXPECT_EQ(levels[1].rgb, (std::vector<uint8_t>{12, 22, 32}));  // 47/4, 88/4, 129/4 rounded

    // One texel high: pairs are averaged and truncated.
    RgbImage row{4, 1, {0, 0, 0, 1, 1, 1, 200, 100, 50, 101, 51, 0}};
    const auto rowLevels = buildMipmapChain(row, 4, 1);
    ASSERT_EQ(rowLevels.size(), 3u);
    EXPECT_EQ(rowLevels[1].rgb, (std::vector<uint8_t>{0, 0, 0, 150, 75, 25}));
    EXPECT_EQ(rowLevels[2].rgb, (std::vector<uint8_t>{75, 37, 12}));

    EXPECT_TRUE(buildMipmapChain(RgbImage{}, 1, 1).empty());
    EXPECT_TRUE(buildMipmapChain(RgbImage{4, 4, std::vector<uint8_t>(10)}, 4, 4).empty());
}

class MipmapChainInGl : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        int argc = 1;
        char name[] = "test_mipmap_chain";
        char* argv[] = {name, nullptr};
        glutInit(&argc, argv);
        glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
        glutInitWindowSize(64, 64);
        glutCreateWindow("mipmap chain test");
        glutDisplayFunc([] {});
        testing::pinLoadedLibraries();
        folder_ = temp_.emplace().path();
    }
    static void TearDownTestSuite() { temp_.reset(); }

    // Every level of the bound texture, as GL holds it.
    static std::vector<std::vector<uint8_t>> levelsOf(GLuint texture) {
        std::vector<std::vector<uint8_t>> levels;
        glBindTexture(GL_TEXTURE_2D, texture);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        for (GLint level = 0;; ++level) {
            GLint width = 0, height = 0;
            glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
            if (width == 0 || height == 0) break;
            std::vector<uint8_t> texels(static_cast<std::size_t>(width) * height * 3);
            glGetTexImage(GL_TEXTURE_2D, level, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
            levels.push_back(std::move(texels));
            if (width == 1 && height == 1) break;
        }
        return levels;
    }

    static GLuint gluTexture(const RgbImage& image) {
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE,
                          image.data.data());
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        return texture;
    }

    static inline std::optional<test::TempFolder> temp_;
    static inline fs::path folder_;
};

// Screen sizes (scaled up in one direction and down in the other), odd and tiny pictures,
// pictures already at powers of two, one row and one column: random texels, so that every
// rounding shows.
TEST_F(MipmapChainInGl, LevelsEqualGlusForEverySize) {
    std::mt19937 random(13);
    const std::pair<int, int> sizes[] = {{1920, 1080}, {1366, 768}, {800, 600}, {37, 21},
                                         {5, 3},       {64, 32},    {1, 7},     {9, 1},
                                         {1, 1},       {2560, 1440}};
    bool prepareAhead = false;
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const fs::path file =
            folder_ / (std::to_string(width) + "x" + std::to_string(height) + ".bmp");
        ASSERT_TRUE(testing::writeBmpFile(file, width, height, [&](int, int) {
            const uint32_t v = random();
            return testing::Rgb{static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                                static_cast<uint8_t>(v >> 16)};
        }));
        const auto image = loadBmpImage(file.c_str());
        ASSERT_TRUE(image);

        // The product's path, with the picture prepared ahead on its thread every other time.
        prepareAhead = !prepareAhead;
        if (prepareAhead) preparePictureTexture(file.c_str());
        const GLuint ours = loadPictureTexture(file.c_str());
        ASSERT_NE(ours, 0u);
        const GLuint glus = gluTexture(*image);
        const auto ourLevels = levelsOf(ours);
        const auto gluLevels = levelsOf(glus);
        ASSERT_EQ(ourLevels.size(), gluLevels.size());
        for (std::size_t level = 0; level < gluLevels.size(); ++level) {
            EXPECT_TRUE(ourLevels[level] == gluLevels[level]) << "level " << level << " differs";
        }
        glDeleteTextures(1, &ours);
        glDeleteTextures(1, &glus);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// A picture prepared ahead is the one loaded; another path, or a missing file, is read then.
TEST_F(MipmapChainInGl, PreparedPictureServesOnlyItsOwnPath) {
    const fs::path red = folder_ / "red.bmp";
    const fs::path blue = folder_ / "blue.bmp";
    ASSERT_TRUE(testing::writeBmpFile(red, 4, 4, [](int, int) { return testing::Rgb{255, 0, 0}; }));
    ASSERT_TRUE(testing::writeBmpFile(blue, 4, 4, [](int, int) {
        return testing::Rgb{0, 0, 255};
    }));
    preparePictureTexture(red.c_str());
    const GLuint texture = loadPictureTexture(blue.c_str());
    ASSERT_NE(texture, 0u);
    std::vector<uint8_t> allBlue;
    for (int i = 0; i < 16; ++i) allBlue.insert(allBlue.end(), {0, 0, 255});
    EXPECT_EQ(levelsOf(texture)[0], allBlue);
    const GLuint prepared = loadPictureTexture(red.c_str());
    ASSERT_NE(prepared, 0u);
    EXPECT_EQ(levelsOf(prepared)[2], (std::vector<uint8_t>{255, 0, 0}));

    preparePictureTexture((folder_ / "absent.bmp").c_str());
    EXPECT_EQ(loadPictureTexture((folder_ / "absent.bmp").c_str()), 0u);
}

}  // namespace
}  // namespace quorlane

// The maze scene in a real GL context (run under Xvfb): its timing through the director and
// what its frames contain with and without a desktop picture.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/desktop_image_location.h"
#include "renderer/core/scene_director.h"
#include "renderer/maze/maze_scene.h"
#include "tests/renderer/bmp_file_writer.h"
#include "tests/renderer/pin_loaded_libraries.h"

namespace quorlane {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

class MazeSceneTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // A private picture location, so the user's real desktop image is never touched.
        char pattern[] = "/tmp/quorlane-maze-XXXXXX";
        runtimeDir_ = mkdtemp(pattern);
        setenv("XDG_RUNTIME_DIR", runtimeDir_.c_str(), 1);
        std::filesystem::create_directories(desktopImageLocation().folder);

        int argc = 1;
        char name[] = "test_maze_scene";
        char* argv[] = {name, nullptr};
        glutInit(&argc, argv);
        glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
        glutInitWindowSize(kWidth, kHeight);
        glutCreateWindow("maze scene test");
        glutDisplayFunc([] {});
        testing::pinLoadedLibraries();
        for (int i = 0; i < 20; ++i) {  // let the window map
            glutMainLoopEvent();
            usleep(10'000);
        }
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(runtimeDir_); }

    // A director with the maze built from whatever picture is in place, on a scripted clock.
    std::unique_ptr<SceneDirector> makeDirector()
    {
        auto director = std::make_unique<SceneDirector>(&endFlag_, [this] { return now_; });
        director->initGraphics();
        return director;
    }
    static MazeScene& mazeOf(SceneDirector& director)
    {
        return *static_cast<MazeScene*>(director.currentScene());
    }

    struct Counts {
        int black = 0, white = 0, grey = 0, red = 0, other = 0;
    };
    static Counts drawAndCount(SceneDirector& director)
    {
        director.draw();
        std::vector<uint8_t> pixels(kWidth * kHeight * 3);
        glReadBuffer(GL_BACK);  // the front buffer reads back black after a swap
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        Counts counts;
        for (size_t i = 0; i < pixels.size(); i += 3) {
            const int r = pixels[i], g = pixels[i + 1], b = pixels[i + 2];
            const bool greyish = r == g && g == b && (r == 127 || r == 128);
            if (r == 0 && g == 0 && b == 0)
                ++counts.black;
            else if (r == 255 && g == 255 && b == 255)
                ++counts.white;
            else if (greyish)
                ++counts.grey;
            else if (r == 255 && g == 0 && b == 0)
                ++counts.red;
            else
                ++counts.other;
        }
        return counts;
    }
    static void writeRedPicture()
    {
        ASSERT_TRUE(testing::writeBmpFile(desktopImageLocation().file, 64, 48,
                                          [](int, int) { return testing::Rgb{255, 0, 0}; }));
    }

    static inline std::string runtimeDir_;
    uint32_t now_ = 0;
    bool endFlag_ = false;
};

TEST_F(MazeSceneTest, PathParameterAdvancesWithFrameStepAndRestartsWithTheScene)
{
    std::filesystem::remove(desktopImageLocation().file);
    auto director = makeDirector();
    MazeScene& maze = mazeOf(*director);
    EXPECT_EQ(maze.next(), &maze);
    EXPECT_DOUBLE_EQ(maze.duration(), 42.55);
    EXPECT_EQ(maze.pathParameter(), 0.0);

    // 250 ms frames: after the first measurement each step is exactly 0.25 s.
    int restarts = 0;
    for (int frame = 1; frame <= 400; ++frame) {
        now_ += 250;
        const double before = maze.elapsed();
        director->update();
        const double step = director->clock().step();
        if (maze.elapsed() < before) {
            ++restarts;
            // Restarted in the frame the run reached 42.55 s, then updated at once.
            EXPECT_GE(before + step, 42.55);
            EXPECT_LT(before, 42.55);
            EXPECT_DOUBLE_EQ(maze.pathParameter(), step * 0.399);
        } else if (restarts == 0) {
            EXPECT_NEAR(maze.pathParameter(), maze.elapsed() * 0.399, 1e-9) << "frame " << frame;
        }
        EXPECT_FALSE(endFlag_);
    }
    EXPECT_EQ(restarts, 2);
}

TEST_F(MazeSceneTest, SlowAndFastMachinesCoverTheSamePathInTheSameTime)
{
    std::filesystem::remove(desktopImageLocation().file);
    auto progressOver20Seconds = [this](uint32_t frameMilliseconds) {
        now_ = 0;
        auto director = makeDirector();
        MazeScene& maze = mazeOf(*director);
        double atStart = 0;
        while (now_ < 25'000) {
            now_ += frameMilliseconds;
            director->update();
            if (now_ == 5'000)
                atStart = maze.pathParameter();
        }
        return maze.pathParameter() - atStart;
    };
    EXPECT_NEAR(progressOver20Seconds(250), 20 * 0.399, 1e-9);
    EXPECT_NEAR(progressOver20Seconds(20), 20 * 0.399, 1e-9);
}

TEST_F(MazeSceneTest, PictureCoversEveryTexturedSurface)
{
    writeRedPicture();
    auto director = makeDirector();
    MazeScene& maze = mazeOf(*director);

    // The first frame looks from the origin into the lower corner of room 1.
    Counts counts = drawAndCount(*director);
    EXPECT_EQ(counts.white, 0) << "a surface was drawn without the picture";
    EXPECT_EQ(counts.other, 0);
    EXPECT_GT(counts.red, kWidth * kHeight / 2);

    // The end of a run: close up on the picture-covered tunnel and its end plate.
    maze.setPathParameter(42.55 * 0.399 - 0.001);
    counts = drawAndCount(*director);
    EXPECT_EQ(counts.white, 0);
    EXPECT_EQ(counts.other, 0);
    EXPECT_GT(counts.red, kWidth * kHeight * 9 / 10);
}

TEST_F(MazeSceneTest, WithoutAPictureSurfacesAreWhiteAndBevelsGrey)
{
    std::filesystem::remove(desktopImageLocation().file);
    auto director = makeDirector();
    MazeScene& maze = mazeOf(*director);
    int grey = 0;
    for (double t : {0.0, 3.0, 8.5}) {
        maze.setPathParameter(t);
        const Counts counts = drawAndCount(*director);
        EXPECT_EQ(counts.red + counts.other, 0) << "t=" << t;
        EXPECT_GT(counts.white, kWidth * kHeight / 4) << "t=" << t;
        grey += counts.grey;
    }
    EXPECT_GT(grey, 0) << "no tunnel bevel in sight";
}

}  // namespace
}  // namespace quorlane

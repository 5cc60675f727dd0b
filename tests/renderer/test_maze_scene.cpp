// The maze scene through the renderer's own path, in a real GL context under Xvfb: the
// director's set-up, then its update and draw each frame. Frames are compared pixel for pixel
// with reference frames kept in tests/renderer/reference (llvmpipe draws the same frame the
// same way every time). QUORLANE_UPDATE_REFERENCES=1 rewrites them instead: look at every
// changed frame before committing it (tests/renderer/update-reference-frames.sh).
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QImage>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/desktop_image_location.h"
#include "renderer/core/scene_director.h"
#include "renderer/maze/maze_scene.h"
#include "tests/pictures/bmp_writer.h"
#include "tests/renderer/pin_loaded_libraries.h"
#include "tests/support/temp_folder.h"

namespace quorlane {
namespace {

// A wide window, as most screens are: the scene keeps its 4:3 view and stretches it.
constexpr int kWidth = 384;
constexpr int kHeight = 216;

// A desktop-sized picture whose width is not a multiple of 4 and whose sides are not powers
// of two. Its quadrants differ (upright: red bottom-left, green bottom-right, blue top-left,
// yellow top-right) and carry fine diagonal stripes, so orientation, rescaling and the
// minification filter all show in the frame.
void writeDesktopPicture() {
    ASSERT_TRUE(testing::writeBmpFile(desktopImageLocation().file, 1366, 768, [](int x, int y) {
        const bool top = y < 384, right = x >= 683;
        const uint8_t on = ((x + y) / 3) % 2 == 0 ? 255 : 150;
        if (top) return right ? testing::Rgb{on, on, 0} : testing::Rgb{0, 0, on};
        return right ? testing::Rgb{0, on, 0} : testing::Rgb{on, 0, 0};
    }));
}

class MazeSceneTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // A private picture location, so the user's real desktop image is never touched.
        runtimeDir_.emplace();
        setenv("XDG_RUNTIME_DIR", runtimeDir_->path().c_str(), 1);
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
    static void TearDownTestSuite() { runtimeDir_.reset(); }

    // A director set up as the renderer sets it up, on a scripted clock.
    std::unique_ptr<SceneDirector> makeDirector() {
        auto director = std::make_unique<SceneDirector>(&endFlag_, [this] { return now_; });
        director->initGraphics();
        flights_.push_back(createMazeFlight(director->clock(), findDesktopImageFile()));
        director->setCurrentScene(flights_.back().get());
        return director;
    }
    static MazeScene& mazeOf(SceneDirector& director) {
        return *static_cast<MazeScene*>(director.currentScene());
    }

    // One frame as the display callback runs it, optionally at a chosen path parameter, read
    // back from the back buffer before the swap (rows bottom-up).
    std::vector<uint8_t> frame(SceneDirector& director, const double* pathParameter = nullptr) {
        now_ += 16;
        director.update();
        if (pathParameter != nullptr) mazeOf(director).setPathParameter(*pathParameter);
        director.draw();
        std::vector<uint8_t> pixels(kWidth * kHeight * 3);
        glReadBuffer(GL_BACK);  // the front buffer reads back black after a swap
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        glutSwapBuffers();
        return pixels;
    }

    static void expectReferenceFrame(const std::string& name, const std::vector<uint8_t>& pixels);

    static inline std::optional<test::TempFolder> runtimeDir_;
    uint32_t now_ = 0;
    bool endFlag_ = false;
    std::vector<std::unique_ptr<MazeScene>> flights_;
};

void MazeSceneTest::expectReferenceFrame(const std::string& name,
                                         const std::vector<uint8_t>& pixels) {
    QImage actual(kWidth, kHeight, QImage::Format_RGB888);
    for (int y = 0; y < kHeight; ++y)
        std::copy_n(&pixels[static_cast<size_t>(kHeight - 1 - y) * kWidth * 3], kWidth * 3,
                    actual.scanLine(y));
    const std::string reference =
        std::string(QUORLANE_SOURCE_DIR) + "/tests/renderer/reference/" + name + ".png";
    if (std::getenv("QUORLANE_UPDATE_REFERENCES") != nullptr) {
        ASSERT_TRUE(actual.save(QString::fromStdString(reference)));
        return;
    }
    const QImage expected =
        QImage(QString::fromStdString(reference)).convertToFormat(QImage::Format_RGB888);
    ASSERT_EQ(expected.size(), actual.size()) << "missing or wrong-sized " << reference;

    // Exact: llvmpipe is deterministic, and a picture upload that rounds one step differently
    // is a change too.
    QImage diff =
        actual.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB888);
    int count = 0, left = kWidth, top = kHeight, right = -1, bottom = -1;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const uint8_t* e = expected.constScanLine(y) + 3 * x;
            const uint8_t* a = actual.constScanLine(y) + 3 * x;
            if (e[0] == a[0] && e[1] == a[1] && e[2] == a[2]) continue;
            ++count;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
            diff.setPixel(x, y, qRgb(255, 0, 255));
        }
    }
    if (count == 0) return;
    const std::string out = std::string(QUORLANE_TEST_OUTPUT_DIR) + "/" + name;
    actual.save(QString::fromStdString(out + "-actual.png"));
    diff.save(QString::fromStdString(out + "-diff.png"));
    ADD_FAILURE() << name << ": " << count << " pixels differ from the reference, within x " << left
                  << ".." << right << ", y " << top << ".." << bottom
                  << " (from the top); differing pixels in magenta: " << out << "-diff.png";
}

TEST_F(MazeSceneTest, FramesAlongTheFlightMatchTheReferenceFrames) {
    writeDesktopPicture();
    auto director = makeDirector();

    // The very first frame, with the default frame step: from the origin into the lower
    // corner of room 1.
    expectReferenceFrame("first-frame", frame(*director));

    // Fixed points of the flight: entering room 3 and looking down into room 4; room 4 on the
    // way out to room 5; back through room 3 towards room 2; close up at the tunnel's end plate
    // just before the restart; and from behind room 1, a parameter the flight never reaches,
    // which shows the rooms from outside.
    const struct {
        const char* name;
        double t;
    } views[] = {{"room-3", 3.6},
                 {"room-4", 7.5},
                 {"room-3-back", 12.4},
                 {"end-of-run", 16.97},
                 {"outside", -1.5}};
    for (const auto& v : views) expectReferenceFrame(v.name, frame(*director, &v.t));
}

TEST_F(MazeSceneTest, WithoutAPictureTheMazeIsWhiteWithGreyBevels) {
    std::filesystem::remove(desktopImageLocation().file);
    auto director = makeDirector();
    const double t = 3.6;
    expectReferenceFrame("no-picture", frame(*director, &t));
}

// On slow and fast machines alike the flight covers 0.399 of its path a second, and it starts
// over, already moved on by that frame's step, in the frame its 42.55 s run is reached.
TEST_F(MazeSceneTest, PathFollowsShowTimeAtAnyFrameRateAndRestartsWithTheScene) {
    std::filesystem::remove(desktopImageLocation().file);
    const struct {
        uint32_t frameMilliseconds;
        double step;
    } machines[] = {{250, 0.25}, {20, 0.02}};
    for (const auto& machine : machines) {
        SCOPED_TRACE(machine.frameMilliseconds);
        now_ = 0;
        auto director = makeDirector();
        MazeScene& maze = mazeOf(*director);
        EXPECT_EQ(maze.next(), &maze);
        EXPECT_DOUBLE_EQ(maze.duration(), 42.55);
        EXPECT_EQ(maze.pathParameter(), 0.0);
        double atFive = 0, atTwentyFive = 0;
        int restarts = 0;
        while (now_ < 100'000) {
            now_ += machine.frameMilliseconds;
            const double before = maze.elapsed();
            director->update();
            if (now_ == 5'000) atFive = maze.pathParameter();
            if (now_ == 25'000) atTwentyFive = maze.pathParameter();
            if (maze.elapsed() < before) {
                ++restarts;
                EXPECT_LT(before, 42.55);
                EXPECT_GE(before + machine.step, 42.55 - 1e-9);
                EXPECT_NEAR(maze.pathParameter(), machine.step * 0.399, 1e-12);
            }
            EXPECT_FALSE(endFlag_);
        }
        EXPECT_NEAR(atTwentyFive - atFive, 20 * 0.399, 1e-9);
        EXPECT_EQ(restarts, 2);
    }
}

}  // namespace
}  // namespace quorlane

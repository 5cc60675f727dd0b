// The maze as it appears on screen: rendered in a real GL context with the renderer's
// projection and state, and read back before any swap.
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "renderer/core/picture_texture.h"
#include "renderer/maze/camera_path.h"
#include "renderer/maze/maze_geometry.h"

namespace quorlane {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// The test picture, seen upright: red bottom-left, green bottom-right, blue top-left,
// yellow top-right. Box-filtered mipmaps keep every quadrant pure down to 2 x 2.
std::string writeQuadrantBmp() {
    constexpr int n = 64;
    std::vector<uint8_t> file(54 + n * n * 3, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, n);
    put32(22, n);
    file[26] = 1;
    file[28] = 24;
    for (int row = 0; row < n; ++row) {  // bottom row first
        for (int col = 0; col < n; ++col) {
            const bool top = row >= n / 2, right = col >= n / 2;
            uint8_t r = 0, g = 0, b = 0;
            if (!top && !right) r = 255;
            if (!top && right) g = 255;
            if (top && !right) b = 255;
            if (top && right) r = g = 255;
            uint8_t* p = &file[54 + (row * n + col) * 3];
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
    }
    char path[] = "/tmp/quorlane-maze-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return {};
    const bool ok = write(fd, file.data(), file.size()) == static_cast<ssize_t>(file.size());
    close(fd);
    return ok ? std::string(path) : std::string();
}

struct Rgb {
    int r, g, b;
};

// Names the colour a pixel shows, so failures read as "red" rather than numbers.
std::string nameOf(Rgb c) {
    auto near = [&](int r, int g, int b) {
        return std::abs(c.r - r) <= 24 && std::abs(c.g - g) <= 24 && std::abs(c.b - b) <= 24;
    };
    if (near(0, 0, 0)) return "black";
    if (near(255, 255, 255)) return "white";
    if (near(128, 128, 128)) return "grey";
    if (near(255, 0, 0)) return "red";
    if (near(0, 255, 0)) return "green";
    if (near(0, 0, 255)) return "blue";
    if (near(255, 255, 0)) return "yellow";
    char buf[32];
    std::snprintf(buf, sizeof buf, "(%d,%d,%d)", c.r, c.g, c.b);
    return buf;
}

struct Vec {
    double x, y, z;
};

// One rendered frame, with the matrices it was drawn with so world points can be located.
class Frame {
public:
    Frame(GLuint list, Vec eye, Vec centre, Vec up = {0, 1, 0}) {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(80.0, 1.33, 0.01, 1000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(eye.x, eye.y, eye.z, centre.x, centre.y, centre.z, up.x, up.y, up.z);
        glCallList(list);
        glFinish();
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview_.data());
        glGetDoublev(GL_PROJECTION_MATRIX, projection_.data());
        glGetIntegerv(GL_VIEWPORT, viewport_.data());
        pixels_.resize(kWidth * kHeight * 3);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels_.data());
        glutSwapBuffers();
    }

    Rgb pixel(int x, int y) const {
        const uint8_t* p = &pixels_[(y * kWidth + x) * 3];
        return {p[0], p[1], p[2]};
    }
    std::string at(int x, int y) const { return nameOf(pixel(x, y)); }

    // Where a world point lands on screen; false if it misses the window.
    bool locate(Vec p, int* x, int* y) const {
        double wx = 0, wy = 0, wz = 0;
        gluProject(p.x, p.y, p.z, modelview_.data(), projection_.data(), viewport_.data(), &wx,
                   &wy, &wz);
        *x = static_cast<int>(wx);
        *y = static_cast<int>(wy);
        return *x >= 0 && *y >= 0 && *x < kWidth && *y < kHeight && wz >= 0 && wz <= 1;
    }

    // What the screen shows where the world point lands.
    std::string at(Vec p) const {
        int x = 0, y = 0;
        return locate(p, &x, &y) ? at(x, y) : "off-screen";
    }

    int count(const std::string& colour) const {
        int n = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) n += at(x, y) == colour;
        return n;
    }

    // Saved on request (QUORLANE_MAZE_FRAMES=<folder>) for a look by eye.
    void save(const char* name) const {
        const char* dir = std::getenv("QUORLANE_MAZE_FRAMES");
        if (dir == nullptr) return;
        std::ofstream out(std::string(dir) + "/" + name + ".ppm", std::ios::binary);
        out << "P6\n" << kWidth << " " << kHeight << "\n255\n";
        for (int y = kHeight - 1; y >= 0; --y)
            out.write(reinterpret_cast<const char*>(&pixels_[y * kWidth * 3]), kWidth * 3);
    }

private:
    std::array<double, 16> modelview_{};
    std::array<double, 16> projection_{};
    std::array<GLint, 4> viewport_{};
    std::vector<uint8_t> pixels_;
};

class MazePixels : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
#if defined(__SANITIZE_ADDRESS__)
        // The GL driver keeps its context and buffers until exit and is unloaded before the
        // leak check, so its allocations cannot be told apart by library name.
        __lsan::ScopedDisabler driverAllocations;
#endif
        int argc = 1;
        char name[] = "test_maze_pixels";
        char* argv[] = {name, nullptr};
        glutInit(&argc, argv);
        glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
        glutInitWindowSize(kWidth, kHeight);
        glutCreateWindow("maze pixels");
        glutDisplayFunc([] {});
        for (int i = 0; i < 5; ++i) glutMainLoopEvent();

        // The renderer's fixed state.
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glFrontFace(GL_CCW);
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);

        const std::string bmp = writeQuadrantBmp();
        picture_ = loadPictureTexture(bmp.c_str());
        std::remove(bmp.c_str());
        pictureList_ = compileMazeList(picture_, picture_);
        plainList_ = compileMazeList(0, 0);
        const Frame warmUp(plainList_, {0, 0, 0}, {0, 0, -1});  // lets the driver size its buffers
    }

    static GLuint picture_, pictureList_, plainList_;
};
GLuint MazePixels::picture_ = 0;
GLuint MazePixels::pictureList_ = 0;
GLuint MazePixels::plainList_ = 0;

// The picture quadrant a viewer expects in each quarter of a face seen straight on,
// sampled a quarter of the way out from its centre towards each corner.
void expectUprightPicture(const Frame& f, const std::string& what) {
    const int dx = kWidth / 8, dy = kHeight / 8, cx = kWidth / 2, cy = kHeight / 2;
    EXPECT_EQ(f.at(cx - dx, cy - dy), "red") << what << ", lower left";
    EXPECT_EQ(f.at(cx + dx, cy - dy), "green") << what << ", lower right";
    EXPECT_EQ(f.at(cx - dx, cy + dy), "blue") << what << ", upper left";
    EXPECT_EQ(f.at(cx + dx, cy + dy), "yellow") << what << ", upper right";
}

Vec plus(Vec a, Vec b, double k = 1.0) { return {a.x + k * b.x, a.y + k * b.y, a.z + k * b.z}; }

TEST_F(MazePixels, ListCompilesWithAndWithoutAPicture) {
    ASSERT_NE(picture_, 0u);
    EXPECT_NE(pictureList_, 0u);
    EXPECT_NE(plainList_, 0u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(MazePixels, EndPlatesOfHorizontalTunnelsShowThePictureUpright) {
    struct Plate {
        const char* name;
        Vec room;
        Vec outward;
    };
    const Plate plates[] = {
        {"room 1 -z", {0, 0, 0}, {0, 0, -1}},       {"room 1 +x", {0, 0, 0}, {1, 0, 0}},
        {"room 1 -x", {0, 0, 0}, {-1, 0, 0}},       {"room 2 -x", {0, 0, 5.4}, {-1, 0, 0}},
        {"room 4 -z", {5.4, -5.4, 5.4}, {0, 0, -1}}, {"room 4 -x", {5.4, -5.4, 5.4}, {-1, 0, 0}},
        {"room 4 +z", {5.4, -5.4, 5.4}, {0, 0, 1}},  {"room 5 +z", {10.8, -5.4, 5.4}, {0, 0, 1}},
        {"room 5 +x", {10.8, -5.4, 5.4}, {1, 0, 0}},
    };
    for (const Plate& p : plates) {
        // Standing in the tunnel, 0.7 in front of the plate.
        const Frame f(pictureList_, plus(p.room, p.outward, 2.0), plus(p.room, p.outward, 2.7));
        expectUprightPicture(f, p.name);
        if (std::string(p.name) == "room 1 -z") f.save("end-plate");
    }
}

TEST_F(MazePixels, VerticalEndPlatesFaceIntoTheirTunnels) {
    struct Plate {
        const char* name;
        Vec room;
        double dy;
    };
    const Plate plates[] = {{"room 1 -y", {0, 0, 0}, -1},
                            {"room 2 +y", {0, 0, 5.4}, 1},
                            {"room 4 -y", {5.4, -5.4, 5.4}, -1},
                            {"room 5 +y", {10.8, -5.4, 5.4}, 1}};
    for (const Plate& p : plates) {
        const Frame f(pictureList_, plus(p.room, {0, p.dy, 0}, 2.0),
                      plus(p.room, {0, p.dy, 0}, 2.7), {0, 0, -1});
        for (const char* colour : {"red", "green", "blue", "yellow"})
            EXPECT_GT(f.count(colour), 1000) << p.name << " " << colour;
    }
}

TEST_F(MazePixels, TunnelFloorHasThePicturesBottomEdgeAtTheMouth) {
    const Frame f(pictureList_, {0, 0, -1.0}, {0, -0.45, -2.25});
    f.save("tunnel-floor");
    const double nearZ = -1.8 - 0.225, farZ = -2.7 + 0.225;
    EXPECT_EQ(f.at(Vec{-0.225, -0.45, nearZ}), "red");
    EXPECT_EQ(f.at(Vec{0.225, -0.45, nearZ}), "green");
    EXPECT_EQ(f.at(Vec{-0.225, -0.45, farZ}), "blue");
    EXPECT_EQ(f.at(Vec{0.225, -0.45, farZ}), "yellow");
}

TEST_F(MazePixels, ReliefTilesOnTheSideWallsAreUpright) {
    // Lower-left corners of the eight tiles around the hole, in the wall's own frame.
    const double corners[8][2] = {{-1.7, -1.7}, {-0.5, -1.7}, {0.7, -1.7}, {-1.7, -0.5},
                                  {0.7, -0.5},  {-1.7, 0.7},  {-0.5, 0.7}, {0.7, 0.7}};
    // Each side wall of room 1 as seen from inside: its facing and its right-hand direction.
    struct Wall {
        const char* name;
        Vec facing;
        Vec right;
    };
    const Wall walls[] = {{"-z", {0, 0, -1}, {1, 0, 0}},
                          {"+x", {1, 0, 0}, {0, 0, 1}},
                          {"+z", {0, 0, 1}, {-1, 0, 0}},
                          {"-x", {-1, 0, 0}, {0, 0, -1}}};
    bool saved = false;
    for (const Wall& w : walls) {
        for (const auto& c : corners) {
            // Straight in front of the tile's face, 1.0 away from it.
            const Vec face =
                plus(plus(Vec{0, c[1] + 0.5, 0}, w.right, c[0] + 0.5), w.facing, 1.72);
            const Frame f(pictureList_, plus(face, w.facing, -1.0), face);
            expectUprightPicture(f, std::string("wall ") + w.name + " tile at " +
                                        std::to_string(c[0]) + "," + std::to_string(c[1]));
            if (!saved) f.save("relief-tile"), saved = true;
        }
    }
}

TEST_F(MazePixels, ARoomWithoutOpenEndsIsClosedAllRound) {
    // Room 4 is closed on every side but its passages, so every wall must face inwards:
    // a wrongly wound face would be culled and leave black showing.
    const Vec room{5.4, -5.4, 5.4};
    const struct {
        Vec look;
        Vec up;
    } views[] = {{{1, 0, 0}, {0, 1, 0}},  {{-1, 0, 0}, {0, 1, 0}}, {{0, 0, 1}, {0, 1, 0}},
                 {{0, 0, -1}, {0, 1, 0}}, {{0, -1, 0}, {0, 0, -1}}, {{1, -1, 1}, {0, 1, 0}}};
    for (GLuint list : {pictureList_, plainList_}) {
        for (const auto& v : views) {
            const Frame f(list, room, plus(room, v.look), v.up);
            EXPECT_EQ(f.count("black"), 0)
                << "looking " << v.look.x << "," << v.look.y << "," << v.look.z;
        }
    }
}

TEST_F(MazePixels, FacesSeenFromBehindAreCulled) {
    // From outside room 1, straight through its -z end plate and wall: both are seen from
    // behind and vanish, leaving the view down the open passage of rooms 1 and 2 into the dark.
    const Frame outside(plainList_, {0, 0, -20}, {0, 0, 0});
    outside.save("outside-room-1");
    EXPECT_EQ(outside.at(kWidth / 2, kHeight / 2), "black");

    // Just outside room 4's -x end plate, looking along the tunnel: the plate's back is culled
    // and the view runs through room 4 and the passage to room 5's +x end plate, upright.
    const Frame through(pictureList_, {2.0, -5.4, 5.4}, {3.0, -5.4, 5.4});
    through.save("through-room-4");
    const double x = 10.8 + 2.7, y = -5.4, z = 5.4, q = 0.225;
    EXPECT_EQ(through.at(Vec{x, y - q, z - q}), "red");
    EXPECT_EQ(through.at(Vec{x, y - q, z + q}), "green");
    EXPECT_EQ(through.at(Vec{x, y + q, z - q}), "blue");
    EXPECT_EQ(through.at(Vec{x, y + q, z + q}), "yellow");
}

TEST_F(MazePixels, WithoutAPictureSurfacesAreWhiteAndBevelsGrey) {
    const Frame f(plainList_, {0, 0, 0}, {0, 0, -1.9});
    f.save("untextured");
    EXPECT_EQ(f.at(Vec{-1.8, 0, -1.9}), "white") << "wall panel";
    EXPECT_EQ(f.at(Vec{-1.2, 1.2, -1.72}), "white") << "relief tile";
    EXPECT_EQ(f.at(Vec{0, 0, -2.7}), "white") << "end plate";
    EXPECT_EQ(f.at(Vec{0, -0.45, -2.2}), "white") << "tunnel floor";
    for (Vec bevel : {Vec{0, -0.55, -1.85}, Vec{0, 0.55, -1.85}, Vec{-0.55, 0, -1.85},
                      Vec{0.55, 0, -1.85}}) {
        int x = 0, y = 0;
        ASSERT_TRUE(f.locate(bevel, &x, &y));
        const Rgb c = f.pixel(x, y);
        EXPECT_TRUE(c.r >= 127 && c.r <= 128 && c.g == c.r && c.b == c.r)
            << "bevel shows " << nameOf(c);
    }
    // The bevels stay grey when the picture is there.
    const Frame textured(pictureList_, {0, 0, 0}, {0, 0, -1.9});
    EXPECT_EQ(textured.at(Vec{0, -0.55, -1.85}), "grey");
}

TEST_F(MazePixels, WallPanelsMirrorThePicture) {
    // Looking straight at a panel, the mirrored eye ray leans to the side of the eye that a
    // panel point lies on, so each quarter of the panel around the eye shows that quadrant.
    const Frame f(pictureList_, {0, 0, 1.5}, {0, 0, -1.9});
    f.save("wall-panel");
    // Points of the bare panel in the gaps between its tiles (the outer margins hide behind
    // the tiles' edges from here).
    for (auto [x, y] : {std::pair{0.6, 1.2}, std::pair{0.6, 1.8}, std::pair{1.2, 0.6}}) {
        EXPECT_EQ(f.at(Vec{-x, -y, -1.9}), "red") << x << "," << y;
        EXPECT_EQ(f.at(Vec{x, -y, -1.9}), "green") << x << "," << y;
        EXPECT_EQ(f.at(Vec{-x, y, -1.9}), "blue") << x << "," << y;
        EXPECT_EQ(f.at(Vec{x, y, -1.9}), "yellow") << x << "," << y;
    }
    // The image slides with the camera: from further left and down, the same point of the
    // panel lies to the eye's right and shows the picture's right half.
    const Frame moved(pictureList_, {-1.2, -1.2, 1.5}, {-1.2, -1.2, -1.9});
    EXPECT_EQ(moved.at(Vec{-0.6, -1.8, -1.9}), "green");
}

TEST_F(MazePixels, StartViewLooksIntoTheLowerCornerOfRoom1) {
    const CameraPath eyePath(eyePathSamples()), lookPath(lookPathSamples());
    const Point3 e = eyePath.at(0.0), c = lookPath.at(0.0);
    const Frame f(pictureList_, {e.x, e.y, e.z}, {c.x, c.y, c.z});
    f.save("start-view");
    // Walls all round: nothing of the dark outside shows.
    EXPECT_EQ(f.count("black"), 0);
    // The tiles nearest the corner, on the -z and +x walls, carry the picture upright.
    const double q = 0.25;
    EXPECT_EQ(f.at(Vec{1.2 - q, -1.2 - q, -1.72}), "red");
    EXPECT_EQ(f.at(Vec{1.2 + q, -1.2 - q, -1.72}), "green");
    EXPECT_EQ(f.at(Vec{1.2 - q, -1.2 + q, -1.72}), "blue");
    EXPECT_EQ(f.at(Vec{1.2 + q, -1.2 + q, -1.72}), "yellow");
    EXPECT_EQ(f.at(Vec{1.72, -1.2 - q, -1.2 - q}), "red");
    EXPECT_EQ(f.at(Vec{1.72, -1.2 - q, -1.2 + q}), "green");
    EXPECT_EQ(f.at(Vec{1.72, -1.2 + q, -1.2 - q}), "blue");
    EXPECT_EQ(f.at(Vec{1.72, -1.2 + q, -1.2 + q}), "yellow");
}

TEST_F(MazePixels, RunEndsCloseUpOnThePictureCoveredTunnel) {
    // The last frame: the eye just short of room 1's -z end plate, looking aside; the tunnel
    // side and the plate fill the whole view.
    const CameraPath eyePath(eyePathSamples()), lookPath(lookPathSamples());
    const Point3 e = eyePath.at(42.55 * 0.399), c = lookPath.at(42.55 * 0.399);
    const Frame f(pictureList_, {e.x, e.y, e.z}, {c.x, c.y, c.z});
    f.save("end-of-run");
    EXPECT_EQ(f.count("black"), 0);
    int picture = 0;
    for (const char* colour : {"red", "green", "blue", "yellow"}) picture += f.count(colour);
    // Magnified this much, the quadrant borders blur over a few percent of the view.
    EXPECT_GT(picture, kWidth * kHeight * 3 / 4);
}

}  // namespace
}  // namespace quorlane

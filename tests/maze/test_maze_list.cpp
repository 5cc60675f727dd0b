// The maze display list, recorded call by call in place of the GL library and compared
// quad by quad with the maze as designed: every corner in world space, its texture
// coordinate and colour, and the texture and coordinate generation it is drawn with.
// The expected maze below is typed from the design's tables, never taken from the code.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "renderer/maze/maze_geometry.h"

namespace {

using Vec = std::array<double, 3>;

// An affine transform: rows of a 3 x 3 rotation with the translation in the last column.
struct Mat {
    double m[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    Vec point(Vec p) const {
        return {row(0, p) + m[0][3], row(1, p) + m[1][3], row(2, p) + m[2][3]};
    }
    Vec direction(Vec p) const { return {row(0, p), row(1, p), row(2, p)}; }
    double row(int i, Vec p) const { return m[i][0] * p[0] + m[i][1] * p[1] + m[i][2] * p[2]; }
};

Mat operator*(const Mat& a, const Mat& b) {
    Mat r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                        (j == 3 ? a.m[i][3] : 0.0);
    return r;
}

Mat translation(double x, double y, double z) {
    Mat r;
    r.m[0][3] = x, r.m[1][3] = y, r.m[2][3] = z;
    return r;
}

// Counter-clockwise rotation by `degrees` about a unit axis, as GL defines it.
Mat rotation(double degrees, Vec a) {
    const double c = std::cos(degrees * M_PI / 180), s = std::sin(degrees * M_PI / 180), t = 1 - c;
    Mat r;
    const double k[3][3] = {
        {t * a[0] * a[0] + c, t * a[0] * a[1] - s * a[2], t * a[0] * a[2] + s * a[1]},
        {t * a[0] * a[1] + s * a[2], t * a[1] * a[1] + c, t * a[1] * a[2] - s * a[0]},
        {t * a[0] * a[2] - s * a[1], t * a[1] * a[2] + s * a[0], t * a[2] * a[2] + c}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r.m[i][j] = k[i][j];
    return r;
}

struct Corner {
    Vec at;
    double s = 0, t = 0;
    Vec colour;
};

struct Quad {
    std::array<Corner, 4> corners;
    GLuint texture = 0;  // bound texture while 2D texturing is on, else 0
    int generated = 0;   // 1 for S, 2 for T: sphere-map coordinates
    Vec normal{};        // what sphere mapping reflects about
    std::string what;    // names the expected quad in a failure
};

// ---- The recording layer: the GL entry points the maze list is built from. ----

struct Recorder {
    std::vector<Mat> stack{Mat{}};
    Vec colour{1, 1, 1};
    Vec normal{0, 0, 1};
    double s = 0, t = 0;
    GLuint bound = 0;
    bool texture2d = false, genS = false, genT = false, compiling = false;
    std::vector<Corner> pending;
    Vec pendingNormal{};
    std::vector<Quad> quads;
    std::vector<std::string> faults;
} rec;

// Only texturing and coordinate generation belong in the list; anything else is a fault.
bool* capability(GLenum cap) {
    if (cap == GL_TEXTURE_2D) return &rec.texture2d;
    if (cap == GL_TEXTURE_GEN_S) return &rec.genS;
    if (cap == GL_TEXTURE_GEN_T) return &rec.genT;
    rec.faults.push_back("switches capability " + std::to_string(cap));
    static bool ignored;
    return &ignored;
}

}  // namespace

extern "C" {
GLuint glGenLists(GLsizei) { return 1; }
void glNewList(GLuint, GLenum mode) { rec.compiling = mode == GL_COMPILE; }
void glEndList() { rec.compiling = false; }
void glPushMatrix() { rec.stack.push_back(rec.stack.back()); }
void glPopMatrix() {
    rec.stack.size() > 1 ? rec.stack.pop_back() : rec.faults.push_back("matrix stack underflow");
}
void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    rec.stack.back() = rec.stack.back() * translation(x, y, z);
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { glTranslated(x, y, z); }
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    const double n = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
    rec.stack.back() = rec.stack.back() * rotation(angle, {x / n, y / n, z / n});
}
void glColor3f(GLfloat r, GLfloat g, GLfloat b) { rec.colour = {r, g, b}; }
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) { rec.normal = {x, y, z}; }
void glTexCoord2d(GLdouble s, GLdouble t) { rec.s = s, rec.t = t; }
void glTexCoord2f(GLfloat s, GLfloat t) { glTexCoord2d(s, t); }
void glBindTexture(GLenum, GLuint texture) { rec.bound = texture; }
void glEnable(GLenum cap) { *capability(cap) = true; }
void glDisable(GLenum cap) { *capability(cap) = false; }
void glBegin(GLenum mode) {
    if (mode != GL_QUADS || !rec.compiling)
        rec.faults.push_back("glBegin(" + std::to_string(mode) + ") outside the list or not quads");
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (rec.pending.size() % 4 == 0)  // the normal of a quad's first corner stands for the quad
        rec.pendingNormal = rec.stack.back().direction(rec.normal);
    rec.pending.push_back({rec.stack.back().point({x, y, z}), rec.s, rec.t, rec.colour});
}
void glEnd() {
    if (rec.pending.size() % 4 != 0) rec.faults.push_back("a quad with a missing corner");
    for (size_t i = 0; i + 3 < rec.pending.size(); i += 4) {
        Quad q;
        std::copy_n(rec.pending.begin() + static_cast<long>(i), 4, q.corners.begin());
        q.texture = rec.texture2d ? rec.bound : 0;
        q.generated = (rec.genS ? 1 : 0) + (rec.genT ? 2 : 0);
        q.normal = rec.pendingNormal;
        rec.quads.push_back(q);
    }
    rec.pending.clear();
}
}

namespace {

// ---- The maze as designed. ----

constexpr GLuint kPicture = 7, kReflection = 9;  // distinct, so a swapped binding shows
const Vec kWhite{1, 1, 1}, kGrey{0.5, 0.5, 0.5};

// Quarter turns are written out exactly, independent of how the recorder rotates.
Mat quarterTurns(int axis, int n) {
    const int c[4] = {1, 0, -1, 0}, s[4] = {0, 1, 0, -1};
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    Mat r;
    r.m[a][a] = c[n], r.m[a][b] = -s[n], r.m[b][a] = s[n], r.m[b][b] = c[n];
    return r;
}
constexpr int X = 0, Y = 1, Z = 2;

struct Maze {
    std::vector<Quad> quads;

    void quad(const Mat& m, const double (&v)[4][3], const Vec& colour, GLuint texture,
              bool generated, const std::string& what) {
        static const double tex[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        Quad q;
        for (int i = 0; i < 4; ++i)
            q.corners[i] = {m.point({v[i][0], v[i][1], v[i][2]}), tex[i][0], tex[i][1], colour};
        q.texture = texture;
        q.generated = generated ? 3 : 0;
        q.normal = m.direction({0, 0, 1});
        q.what = what;
        quads.push_back(q);
    }

    void wallPanel(const Mat& m, const std::string& what) {
        const double strips[4][4][3] = {
            {{-1.9, -1.9, -1.9}, {-0.5, -1.9, -1.9}, {-0.5, 1.9, -1.9}, {-1.9, 1.9, -1.9}},
            {{0.5, -1.9, -1.9}, {1.9, -1.9, -1.9}, {1.9, 1.9, -1.9}, {0.5, 1.9, -1.9}},
            {{-0.5, -1.9, -1.9}, {0.5, -1.9, -1.9}, {0.5, -0.5, -1.9}, {-0.5, -0.5, -1.9}},
            {{-0.5, 0.5, -1.9}, {0.5, 0.5, -1.9}, {0.5, 1.9, -1.9}, {-0.5, 1.9, -1.9}}};
        for (int i = 0; i < 4; ++i)
            quad(m, strips[i], kWhite, kReflection, true,
                 what + ", panel strip " + std::to_string(i));
        for (int r = 0; r < 4; ++r) {
            const Mat side = m * quarterTurns(Z, r);
            const std::string name = what + ", tunnel side " + std::to_string(r);
            quad(side,
                 {{-0.65, -0.65, -1.9},
                  {0.65, -0.65, -1.9},
                  {0.45, -0.45, -1.8},
                  {-0.45, -0.45, -1.8}},
                 kGrey, 0, false, name + " bevel");
            quad(side,
                 {{-0.45, -0.45, -1.8},
                  {0.45, -0.45, -1.8},
                  {0.45, -0.45, -2.7},
                  {-0.45, -0.45, -2.7}},
                 kWhite, kPicture, false, name + " floor");
        }
        const double tiles[8][2] = {{-1.7, -1.7}, {-0.5, -1.7}, {0.7, -1.7}, {-1.7, -0.5},
                                    {0.7, -0.5},  {-1.7, 0.7},  {-0.5, 0.7}, {0.7, 0.7}};
        for (const auto& [x, y] : tiles) {
            const double z = -1.9, d = z + 0.18;
            const double faces[5][4][3] = {
                {{x, y, d}, {x + 1, y, d}, {x + 1, y + 1, d}, {x, y + 1, d}},
                {{x, y, z}, {x + 1, y, z}, {x + 1, y, d}, {x, y, d}},
                {{x, y + 1, d}, {x + 1, y + 1, d}, {x + 1, y + 1, z}, {x, y + 1, z}},
                {{x, y, d}, {x, y + 1, d}, {x, y + 1, z}, {x, y, z}},
                {{x + 1, y + 1, d}, {x + 1, y, d}, {x + 1, y, z}, {x + 1, y + 1, z}}};
            const char* face[5] = {"front", "lower", "upper", "left", "right"};
            for (int f = 0; f < 5; ++f)
                quad(
                    m, faces[f], kWhite, kPicture, false,
                    what + ", tile " + std::to_string(x) + "," + std::to_string(y) + " " + face[f]);
        }
    }

    void room(int number, Vec centre) {
        const Mat at = translation(centre[0], centre[1], centre[2]);
        const Mat walls[6] = {Mat{},
                              quarterTurns(Y, 1),
                              quarterTurns(Y, 2),
                              quarterTurns(Y, 3),
                              quarterTurns(X, 1),
                              quarterTurns(X, 3)};
        for (int w = 0; w < 6; ++w)
            wallPanel(at * walls[w],
                      "room " + std::to_string(number) + " wall " + std::to_string(w));
    }

    void endPlate(int number, Vec centre, const Mat& turn) {
        quad(translation(centre[0], centre[1], centre[2]) * turn,
             {{-0.45, -0.45, -2.7}, {0.45, -0.45, -2.7}, {0.45, 0.45, -2.7}, {-0.45, 0.45, -2.7}},
             kWhite, kPicture, false, "room " + std::to_string(number) + " end plate");
    }
};

Maze designedMaze() {
    Maze maze;
    const Vec room1{0, 0, 0}, room2{0, 0, 5.4}, room3{5.4, 0, 5.4}, room4{5.4, -5.4, 5.4},
        room5{10.8, -5.4, 5.4};
    maze.room(1, room1);
    for (Mat turn : {Mat{}, quarterTurns(Y, 3), quarterTurns(Y, 1), quarterTurns(X, 3)})
        maze.endPlate(1, room1, turn);
    maze.room(2, room2);
    for (Mat turn : {quarterTurns(Y, 1), quarterTurns(X, 1)}) maze.endPlate(2, room2, turn);
    maze.room(3, room3);
    maze.room(4, room4);
    for (Mat turn : {Mat{}, quarterTurns(Y, 1), quarterTurns(Y, 2), quarterTurns(X, 3)})
        maze.endPlate(4, room4, turn);
    maze.room(5, room5);
    for (Mat turn : {quarterTurns(Y, 2), quarterTurns(Y, 3), quarterTurns(X, 1)})
        maze.endPlate(5, room5, turn);
    return maze;
}

std::string describe(const Quad& q) {
    std::ostringstream out;
    out << "texture " << q.texture << ", generated " << q.generated << ", normal (" << q.normal[0]
        << "," << q.normal[1] << "," << q.normal[2] << "), corners";
    for (const Corner& c : q.corners)
        out << " (" << c.at[0] << "," << c.at[1] << "," << c.at[2] << " st " << c.s << "," << c.t
            << " rgb " << c.colour[0] << "," << c.colour[1] << "," << c.colour[2] << ")";
    return out.str();
}

bool near(const Vec& a, const Vec& b)  // corners are single-precision floats
{
    return std::abs(a[0] - b[0]) < 1e-5 && std::abs(a[1] - b[1]) < 1e-5 &&
           std::abs(a[2] - b[2]) < 1e-5;
}

bool same(const Quad& expected, const Quad& got) {
    if (expected.texture != got.texture || expected.generated != got.generated) return false;
    if (expected.generated != 0 && !near(expected.normal, got.normal)) return false;
    for (int i = 0; i < 4; ++i) {
        const Corner &e = expected.corners[i], &g = got.corners[i];
        if (!near(e.at, g.at) || e.colour != g.colour) return false;
        // Explicit coordinates only count where a texture is drawn without generation.
        if (expected.texture != 0 && expected.generated == 0 && (e.s != g.s || e.t != g.t))
            return false;
    }
    return true;
}

TEST(MazeList, EveryQuadIsWhereTheDesignPutsItWithItsPictureAndColour) {
    const Maze maze = designedMaze();

    // The expectation itself, checked against the design's own totals and its table of
    // which tunnel each end plate closes (world centres of the 13 plates).
    ASSERT_EQ(maze.quads.size(), 5u * 6 * (4 + 8 + 40) + 13);
    const Vec plates[13] = {
        {0, 0, -2.7},      {2.7, 0, 0},       {-2.7, 0, 0},     {0, -2.7, 0},     {-2.7, 0, 5.4},
        {0, 2.7, 5.4},     {5.4, -5.4, 2.7},  {2.7, -5.4, 5.4}, {5.4, -5.4, 8.1}, {5.4, -8.1, 5.4},
        {10.8, -5.4, 8.1}, {13.5, -5.4, 5.4}, {10.8, -2.7, 5.4}};
    std::vector<Vec> plateCentres;
    for (const Quad& q : maze.quads) {
        if (q.what.find("end plate") == std::string::npos) continue;
        Vec c{};
        for (const Corner& corner : q.corners)
            for (int i = 0; i < 3; ++i) c[i] += corner.at[i] / 4;
        plateCentres.push_back(c);
    }
    ASSERT_EQ(plateCentres.size(), 13u);
    for (int i = 0; i < 13; ++i) EXPECT_TRUE(near(plateCentres[i], plates[i])) << "end plate " << i;

    rec = Recorder{};
    const GLuint list = quorlane::compileMazeList(kPicture, kReflection);
    EXPECT_EQ(list, 1u);
    EXPECT_EQ(rec.faults, std::vector<std::string>{});
    EXPECT_EQ(rec.stack.size(), 1u) << "pushes and pops do not balance";
    EXPECT_FALSE(rec.compiling) << "the list was left open";

    ASSERT_EQ(rec.quads.size(), maze.quads.size());
    int wrong = 0;
    for (size_t i = 0; i < maze.quads.size(); ++i) {
        if (same(maze.quads[i], rec.quads[i])) continue;
        if (++wrong <= 5)
            ADD_FAILURE() << "quad " << i << ", " << maze.quads[i].what << "\n  expected "
                          << describe(maze.quads[i]) << "\n  drawn    " << describe(rec.quads[i]);
    }
    EXPECT_EQ(wrong, 0) << "quads differ from the design";
}

}  // namespace

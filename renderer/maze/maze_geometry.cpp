#include "renderer/maze/maze_geometry.h"

#include <initializer_list>

namespace quorlane {

namespace {

constexpr float kWall = 1.9f;        // half-size of a room: its walls stand at z = -1.9
constexpr float kHole = 0.5f;        // half-width of the hole in each wall
constexpr float kMouth = 1.8f;       // where a tunnel begins, just inside the room
constexpr float kTunnelEnd = 2.7f;   // halfway to the next room's centre
constexpr float kTunnelIn = 0.45f;   // inner half-width of a tunnel
constexpr float kBevelOut = 0.65f;   // outer edge of the bevel, on the wall
constexpr double kTileDepth = 0.18;  // how far a relief tile stands out of the wall
constexpr double kRoomSpacing = 5.4;

// Which wall of the room the caller's frame faces; every item below faces local -z.
enum class Facing { NegZ, NegX, PosZ, PosX, PosY, NegY };

void rotateTo(Facing f) {
    switch (f) {
    case Facing::NegZ: break;
    case Facing::NegX: glRotatef(90.0f, 0.0f, 1.0f, 0.0f); break;
    case Facing::PosZ: glRotatef(180.0f, 0.0f, 1.0f, 0.0f); break;
    case Facing::PosX: glRotatef(270.0f, 0.0f, 1.0f, 0.0f); break;
    case Facing::PosY: glRotatef(90.0f, 1.0f, 0.0f, 0.0f); break;
    case Facing::NegY: glRotatef(270.0f, 1.0f, 0.0f, 0.0f); break;
    }
}

void vertex(double x, double y, double z) {
    glVertex3f(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

using Corners = double[4][3];

// One quad carrying the whole picture, texture coordinate (0, 0) at its first corner.
// Called between glBegin(GL_QUADS) and glEnd().
void pictureQuad(const Corners& corners) {
    static const double texCoords[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
        glTexCoord2d(texCoords[i][0], texCoords[i][1]);
        vertex(corners[i][0], corners[i][1], corners[i][2]);
    }
}

// The floor of a tunnel with the bevel in front of it; rotated about z it makes the other sides.
void tunnelSide(GLuint picture) {
    glColor3f(0.5f, 0.5f, 0.5f);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glVertex3f(-kBevelOut, -kBevelOut, -kWall);
    glVertex3f(kBevelOut, -kBevelOut, -kWall);
    glVertex3f(kTunnelIn, -kTunnelIn, -kMouth);
    glVertex3f(-kTunnelIn, -kTunnelIn, -kMouth);
    glEnd();

    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, picture);
    // The picture's bottom edge lies at the mouth, its top at the far end.
    glBegin(GL_QUADS);
    pictureQuad({{-kTunnelIn, -kTunnelIn, -kMouth},
                 {kTunnelIn, -kTunnelIn, -kMouth},
                 {kTunnelIn, -kTunnelIn, -kTunnelEnd},
                 {-kTunnelIn, -kTunnelIn, -kTunnelEnd}});
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

// A 1 x 1 block standing out of the wall plane z; each face carries the whole picture.
void reliefTile(GLuint picture, double x, double y, double z) {
    glBindTexture(GL_TEXTURE_2D, picture);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    const double d = z + kTileDepth;
    const Corners quads[5] = {
        {{x, y, d}, {x + 1, y, d}, {x + 1, y + 1, d}, {x, y + 1, d}},          // front
        {{x, y, z}, {x + 1, y, z}, {x + 1, y, d}, {x, y, d}},                  // lower
        {{x, y + 1, d}, {x + 1, y + 1, d}, {x + 1, y + 1, z}, {x, y + 1, z}},  // upper
        {{x, y, d}, {x, y + 1, d}, {x, y + 1, z}, {x, y, z}},                  // left
        {{x + 1, y + 1, d}, {x + 1, y, d}, {x + 1, y, z}, {x + 1, y + 1, z}},  // right
    };
    glBegin(GL_QUADS);
    for (const auto& quad : quads) pictureQuad(quad);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

// One face of a room: a mirror-finished panel with a hole, the tunnel behind the hole and
// eight relief tiles around it.
void wallPanel(GLuint picture, GLuint reflection) {
    glPushMatrix();
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, reflection);
    glBegin(GL_QUADS);
    // left and right strips
    glVertex3f(-kWall, -kWall, -kWall);
    glVertex3f(-kHole, -kWall, -kWall);
    glVertex3f(-kHole, kWall, -kWall);
    glVertex3f(-kWall, kWall, -kWall);
    glVertex3f(kHole, -kWall, -kWall);
    glVertex3f(kWall, -kWall, -kWall);
    glVertex3f(kWall, kWall, -kWall);
    glVertex3f(kHole, kWall, -kWall);
    // below and above the hole
    glVertex3f(-kHole, -kWall, -kWall);
    glVertex3f(kHole, -kWall, -kWall);
    glVertex3f(kHole, -kHole, -kWall);
    glVertex3f(-kHole, -kHole, -kWall);
    glVertex3f(-kHole, kHole, -kWall);
    glVertex3f(kHole, kHole, -kWall);
    glVertex3f(kHole, kWall, -kWall);
    glVertex3f(-kHole, kWall, -kWall);
    glEnd();
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);

    for (int quarter = 0; quarter < 4; ++quarter) {
        glPushMatrix();
        if (quarter != 0) glRotatef(90.0f * static_cast<float>(quarter), 0.0f, 0.0f, 1.0f);
        tunnelSide(picture);
        glPopMatrix();
    }

    // A 3 x 3 grid of tiles with gaps of 0.2; the middle cell is the hole.
    static const double corners[8][2] = {{-1.7, -1.7}, {-0.5, -1.7}, {0.7, -1.7}, {-1.7, -0.5},
                                         {0.7, -0.5},  {-1.7, 0.7},  {-0.5, 0.7}, {0.7, 0.7}};
    for (const auto& c : corners) reliefTile(picture, c[0], c[1], -1.9);
    glPopMatrix();
}

void room(GLuint picture, GLuint reflection) {
    for (Facing f :
         {Facing::NegZ, Facing::NegX, Facing::PosZ, Facing::PosX, Facing::PosY, Facing::NegY}) {
        glPushMatrix();
        rotateTo(f);
        wallPanel(picture, reflection);
        glPopMatrix();
    }
}

// Closes a tunnel at its far end; leaves texturing on, and relies on the colour being white.
void endPlate(GLuint picture) {
    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, picture);
    glBegin(GL_QUADS);
    pictureQuad({{-kTunnelIn, -kTunnelIn, -kTunnelEnd},
                 {kTunnelIn, -kTunnelIn, -kTunnelEnd},
                 {kTunnelIn, kTunnelIn, -kTunnelEnd},
                 {-kTunnelIn, kTunnelIn, -kTunnelEnd}});
    glEnd();
    glPopMatrix();
}

struct Cell {
    int x, y, z;  // room centre in units of the room spacing
};

void roomAt(Cell c, GLuint picture, GLuint reflection) {
    glPushMatrix();
    glTranslated(c.x * kRoomSpacing, c.y * kRoomSpacing, c.z * kRoomSpacing);
    room(picture, reflection);
    glPopMatrix();
}

void endPlateAt(Cell c, Facing f, GLuint picture) {
    glPushMatrix();
    glTranslated(c.x * kRoomSpacing, c.y * kRoomSpacing, c.z * kRoomSpacing);
    rotateTo(f);
    endPlate(picture);
    glPopMatrix();
}

}  // namespace

GLuint compileMazeList(GLuint pictureTexture, GLuint reflectionTexture) {
    const GLuint list = glGenLists(1);
    if (list == 0) return 0;
    glNewList(list, GL_COMPILE);

    const Cell room1{0, 0, 0}, room2{0, 0, 1}, room3{1, 0, 1}, room4{1, -1, 1}, room5{2, -1, 1};

    room(pictureTexture, reflectionTexture);
    for (Facing f : {Facing::NegZ, Facing::PosX, Facing::NegX, Facing::NegY})
        endPlateAt(room1, f, pictureTexture);

    roomAt(room2, pictureTexture, reflectionTexture);
    for (Facing f : {Facing::NegX, Facing::PosY}) endPlateAt(room2, f, pictureTexture);

    roomAt(room3, pictureTexture, reflectionTexture);

    roomAt(room4, pictureTexture, reflectionTexture);
    for (Facing f : {Facing::NegZ, Facing::NegX, Facing::PosZ, Facing::NegY})
        endPlateAt(room4, f, pictureTexture);

    roomAt(room5, pictureTexture, reflectionTexture);
    for (Facing f : {Facing::PosZ, Facing::PosX, Facing::PosY})
        endPlateAt(room5, f, pictureTexture);

    glEndList();
    return list;
}

}  // namespace quorlane

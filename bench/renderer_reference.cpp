// The least program that shows the same maze: the display list and the camera, drawn back to
// back in full screen, without the director, clock or scene. bench/renderer.sh compares the
// renderer's cost per frame with this one's.
#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdint>

#include "common/desktop_image_location.h"
#include "renderer/core/picture_texture.h"
#include "renderer/core/tick_count.h"
#include "renderer/maze/camera_path.h"
#include "renderer/maze/maze_geometry.h"

namespace {

GLuint mazeList = 0;
const quorlane::CameraPath* eyePath = nullptr;
const quorlane::CameraPath* lookPath = nullptr;
uint32_t startTick = 0;

void display() {
    // The same flight in the same wall-clock time as the renderer, so both draw the same views.
    const double seconds = static_cast<uint32_t>(quorlane::tickCount() - startTick) / 1000.0;
    const double t = std::fmod(seconds, 42.55) * 0.399;
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(80.0, 1.33, 0.01, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const quorlane::Point3 eye = eyePath->at(t);
    const quorlane::Point3 look = lookPath->at(t);
    gluLookAt(eye.x, eye.y, eye.z, look.x, look.y, look.z, 0, 1, 0);
    glCallList(mazeList);
    glutSwapBuffers();
    glutPostRedisplay();
}

}  // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
    glutInitWindowSize(800, 600);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("maze reference");
    glutDisplayFunc(display);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);

    const GLuint texture =
        quorlane::loadPictureTexture(quorlane::desktopImageLocation().file.c_str());
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    mazeList = quorlane::compileMazeList(texture, texture);
    eyePath = new quorlane::CameraPath(quorlane::eyePathSamples());
    lookPath = new quorlane::CameraPath(quorlane::lookPathSamples());

    glutFullScreen();
    startTick = quorlane::tickCount();
    glutMainLoop();
    return 0;
}

// Quorlane.dll: the renderer program. Opens "Torvane_VC" full screen and flies through the
// maze until Escape.
#ifdef _WIN32
#include "renderer/platform/win32/glut_on_wgl.h"
#else
#include <GL/freeglut.h>
#endif

#include <cstdlib>

#include "common/desktop_image_location.h"
#include "common/window_titles.h"
#include "renderer/core/picture_texture.h"
#include "renderer/core/scene_director.h"
#include "renderer/core/swap_interval.h"
#include "renderer/core/tick_count.h"
#include "renderer/maze/maze_scene.h"

namespace {

// The renderer's process-wide state: the one director, the maze flight it runs, and the flag
// it raises when the show has run out of scenes.
quorlane::SceneDirector* director = nullptr;
quorlane::MazeScene* flight = nullptr;
bool endFlag = false;

constexpr unsigned char kEscape = 27;

[[noreturn]] void exitRenderer() {
    // Textures and display lists end with the process.
    delete director;
    director = nullptr;
    delete flight;
    flight = nullptr;
    std::exit(0);
}

void onKey(unsigned char key, int, int) {
    if (key == kEscape) exitRenderer();
}

void onDisplay() {
    director->update();
    if (endFlag) exitRenderer();
    director->draw();
    glutSwapBuffers();
    glutPostRedisplay();  // frames back to back; motion is scaled by the frame step
}

}  // namespace

int main(int argc, char** argv) {
    // The picture is read and its mipmaps computed while GLUT and GL start up; the maze
    // scene then only uploads them.
    quorlane::preparePictureTexture(quorlane::desktopImageLocation().file.c_str());

    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
    glutInitWindowSize(800, 600);
    glutInitWindowPosition(0, 0);
    glutCreateWindow(quorlane::kRendererWindowTitle);
    quorlane::requestVsync();

    endFlag = false;
    glutKeyboardFunc(onKey);
    glutDisplayFunc(onDisplay);
    glutSetCursor(GLUT_CURSOR_NONE);

    director = new quorlane::SceneDirector(&endFlag, quorlane::tickCount);
    director->initGraphics();
    // Only from a folder of our own; with none the maze goes without its picture.
    flight =
        quorlane::createMazeFlight(director->clock(), quorlane::findDesktopImageFile()).release();
    director->setCurrentScene(flight);
    glutFullScreen();

    glutMainLoop();
    return 0;
}

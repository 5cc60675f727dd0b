// Quorlane.dll: the renderer program. Opens "Torvane_VC" full screen and flies through the
// maze until Escape.
#ifdef _WIN32
#include "renderer/platform/win32/glut_on_wgl.h"
#else
#include <GL/freeglut.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "common/desktop_image_location.h"
#include "common/host_window_request.h"
#include "common/window_titles.h"
#include "renderer/core/picture_texture.h"
#include "renderer/core/scene_director.h"
#include "renderer/core/swap_interval.h"
#include "renderer/core/tick_count.h"
#include "renderer/core/window_placement.h"
#ifndef _WIN32
#include "renderer/entry/host_window_front_end.h"
#include "renderer/entry/x_full_screen.h"
#endif
#include "renderer/maze/maze_scene.h"

namespace {

// The renderer's process-wide state: the one director, the maze flight it runs, and the flag
// it raises when the show has run out of scenes.
quorlane::SceneDirector* director = nullptr;
quorlane::MazeScene* flight = nullptr;
bool endFlag = false;
#ifndef _WIN32
// The monitor a window manager's full screen must keep the window on, and the size the
// window opened at.
std::optional<quorlane::MonitorRect> monitorToKeep;
quorlane::WindowPlacement openedAt;

// A few round trips to the server four times a second, for as long as the flight lasts: a
// manager may move a window late, or again. On a timer, since GLUT draws no frames into a
// window that another covers whole, as one on the wrong monitor may be.
constexpr unsigned kLookEveryMs = 250;
void lookAtMonitor(int) {
    quorlane::keepOnMonitor(*monitorToKeep, openedAt.width, openedAt.height);
    glutTimerFunc(kLookEveryMs, lookAtMonitor, 0);
}
#endif

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
#ifndef _WIN32
    // Given a window (by the shell, for a screensaver framework), the flight goes there.
    const quorlane::HostWindowRequest host = quorlane::hostWindowRequest(
        std::vector<std::string>(argv + 1, argv + argc), std::getenv("XSCREENSAVER_WINDOW"));
    if (host.kind == quorlane::HostWindowRequest::Kind::Invalid) {
        std::fprintf(stderr, "Quorlane.dll: %s\n", host.problem.c_str());
        return 2;
    }
    if (host.kind != quorlane::HostWindowRequest::Kind::None) {
        return quorlane::runInHostWindow(host.window, host.picture);
    }
#endif

    // Looked up once, only in a folder of our own: a place that fails the check is never
    // opened (a link to another user's folder could hold anything, a FIFO that never ends).
    // With none the maze goes without its picture. The picture is read and its mipmaps
    // computed while GLUT and GL start up; the maze scene then only uploads them.
    const std::string picture = quorlane::findDesktopImageFile();
    if (!picture.empty()) quorlane::preparePictureTexture(picture.c_str());

    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
    // With several monitors the shell names this renderer's one.
    const quorlane::WindowPlacement placement =
        quorlane::windowPlacement(quorlane::monitorFromEnvironment());
    glutInitWindowSize(placement.width, placement.height);
    glutInitWindowPosition(placement.x, placement.y);
    glutCreateWindow(quorlane::kRendererWindowTitle);
    quorlane::requestVsync();

    endFlag = false;
    glutKeyboardFunc(onKey);
    glutDisplayFunc(onDisplay);
    glutSetCursor(GLUT_CURSOR_NONE);

    director = new quorlane::SceneDirector(&endFlag, quorlane::tickCount);
    director->initGraphics();
    flight = quorlane::createMazeFlight(director->clock(), picture).release();
    director->setCurrentScene(flight);
#ifdef _WIN32
    // Windows has no window manager to ask: full screen is the window's own rectangle.
    glutFullScreen();
#else
    if (placement.unmanaged && !quorlane::managerDoesFullScreen()) {
        glutReshapeWindow(placement.unmanaged->width, placement.unmanaged->height);
    } else {
        glutFullScreen();
        monitorToKeep = placement.unmanaged;
        openedAt = placement;
        if (monitorToKeep) glutTimerFunc(kLookEveryMs, lookAtMonitor, 0);
    }
#endif

    glutMainLoop();
    return 0;
}

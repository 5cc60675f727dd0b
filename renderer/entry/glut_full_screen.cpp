#include "renderer/entry/glut_full_screen.h"

#include <GL/freeglut.h>

#include <optional>

#include "common/window_titles.h"
#include "renderer/core/show.h"
#include "renderer/core/swap_interval.h"
#include "renderer/entry/x_full_screen.h"

namespace quorlane {

namespace {

// GLUT's callbacks take no state of their own: the show they run, and the monitor a window
// manager's full screen must keep the window on with the size the window opened at.
Show* running = nullptr;
std::optional<MonitorRect> monitorToKeep;
WindowPlacement openedAt;

void onKey(unsigned char key, int, int) { running->key(key); }

void onDisplay() {
    running->frame();
    glutSwapBuffers();
    glutPostRedisplay();  // frames back to back; motion is scaled by the frame step
}

// A few round trips to the server four times a second, for as long as the flight lasts: a
// manager may move a window late, or again. On a timer, since GLUT draws no frames into a
// window that another covers whole, as one on the wrong monitor may be.
constexpr unsigned kLookEveryMs = 250;
void lookAtMonitor(int) {
    keepOnMonitor(*monitorToKeep, openedAt.width, openedAt.height);
    glutTimerFunc(kLookEveryMs, lookAtMonitor, 0);
}

}  // namespace

GlutFullScreen::GlutFullScreen(int& argc, char** argv, const WindowPlacement& placement)
    : argc_(argc), argv_(argv), placement_(placement) {}

bool GlutFullScreen::open() {
    glutInit(&argc_, argv_);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
    glutInitWindowSize(placement_.width, placement_.height);
    glutInitWindowPosition(placement_.x, placement_.y);
    glutCreateWindow(kRendererWindowTitle);
    requestVsync();
    glutSetCursor(GLUT_CURSOR_NONE);
    return true;
}

void GlutFullScreen::run(Show& show) {
    running = &show;
    glutKeyboardFunc(onKey);
    glutDisplayFunc(onDisplay);
    if (placement_.unmanaged && !managerDoesFullScreen()) {
        glutReshapeWindow(placement_.unmanaged->width, placement_.unmanaged->height);
    } else {
        glutFullScreen();
        monitorToKeep = placement_.unmanaged;
        openedAt = placement_;
        if (monitorToKeep) glutTimerFunc(kLookEveryMs, lookAtMonitor, 0);
    }
    glutMainLoop();
    // Only a main loop left by request comes back here, and none is.
    show.end(0);
}

}  // namespace quorlane

// Quorlane.dll: the renderer program. Opens "Torvane_VC" full screen and flies through the
// maze until Escape.
#include <GL/freeglut.h>
#include <GL/glx.h>

#include <cstdlib>
#include <cstring>

#include "common/desktop_image_location.h"
#include "common/window_titles.h"
#include "renderer/core/picture_texture.h"
#include "renderer/core/scene_director.h"
#include "renderer/core/tick_count.h"
#include "renderer/core/window_placement.h"
#include "renderer/entry/x_full_screen.h"
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

bool hasGlxExtension(Display* display, const char* name) {
    const char* all = glXQueryExtensionsString(display, DefaultScreen(display));
    if (all == nullptr) return false;
    const size_t length = std::strlen(name);
    for (const char* p = std::strstr(all, name); p != nullptr; p = std::strstr(p + 1, name)) {
        const bool starts = p == all || p[-1] == ' ';
        const bool ends = p[length] == '\0' || p[length] == ' ';
        if (starts && ends) return true;
    }
    return false;
}

// Swap at most once per refresh where the driver allows it, so a real display is never
// driven faster than it can show. Frames still follow each other back to back.
void requestVsync() {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr || drawable == 0) return;
    auto lookUp = [](const char* name) {
        return glXGetProcAddress(reinterpret_cast<const GLubyte*>(name));
    };

    if (hasGlxExtension(display, "GLX_EXT_swap_control")) {
        using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
        if (auto set = reinterpret_cast<SwapIntervalExt>(lookUp("glXSwapIntervalEXT"))) {
            set(display, drawable, 1);
            return;
        }
    }
    if (hasGlxExtension(display, "GLX_MESA_swap_control")) {
        using SwapIntervalMesa = int (*)(unsigned);
        if (auto set = reinterpret_cast<SwapIntervalMesa>(lookUp("glXSwapIntervalMESA"))) {
            set(1);
            return;
        }
    }
    if (hasGlxExtension(display, "GLX_SGI_swap_control")) {
        using SwapIntervalSgi = int (*)(int);
        if (auto set = reinterpret_cast<SwapIntervalSgi>(lookUp("glXSwapIntervalSGI"))) set(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The picture is read and its mipmaps computed while GLUT and GL start up; the maze
    // scene then only uploads them.
    quorlane::preparePictureTexture(quorlane::desktopImageLocation().file.c_str());

    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
    // With several monitors the shell names this renderer's one.
    const quorlane::WindowPlacement placement =
        quorlane::windowPlacement(quorlane::monitorFromEnvironment());
    glutInitWindowSize(placement.width, placement.height);
    glutInitWindowPosition(placement.x, placement.y);
    glutCreateWindow(quorlane::kRendererWindowTitle);
    requestVsync();

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
    if (placement.unmanaged && !quorlane::managerDoesFullScreen(glXGetCurrentDisplay())) {
        glutReshapeWindow(placement.unmanaged->width, placement.unmanaged->height);
    } else {
        glutFullScreen();
    }

    glutMainLoop();
    return 0;
}

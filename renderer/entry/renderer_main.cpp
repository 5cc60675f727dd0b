// Quorlane.dll: the renderer program. Opens "Torvane_VC" full screen and flies through the
// maze until Escape; given a host's window, it flies there until the window goes.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "common/desktop_image_location.h"
#include "common/host_window_request.h"
#include "renderer/core/front_end.h"
#include "renderer/core/picture_texture.h"
#include "renderer/core/show.h"
#include "renderer/core/tick_count.h"
#include "renderer/core/window_placement.h"
#include "renderer/maze/maze_scene.h"
#ifdef _WIN32
#include "renderer/platform/win32/wgl_full_screen.h"
#else
#include "renderer/entry/glut_full_screen.h"
#include "renderer/entry/host_window_front_end.h"
#endif

// On Windows the command line says nothing to the renderer.
int main([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
    std::unique_ptr<quorlane::FrontEnd> frontEnd;
    std::string picture;
#ifndef _WIN32
    // Given a window (by the shell, for a screensaver framework), the flight goes there, on
    // the picture file named with it.
    const quorlane::HostWindowRequest host = quorlane::hostWindowRequest(
        std::vector<std::string>(argv + 1, argv + argc), std::getenv("XSCREENSAVER_WINDOW"));
    if (host.kind == quorlane::HostWindowRequest::Kind::Invalid) {
        std::fprintf(stderr, "Quorlane.dll: %s\n", host.problem.c_str());
        return 2;
    }
    if (host.kind != quorlane::HostWindowRequest::Kind::None) {
        frontEnd = std::make_unique<quorlane::HostWindowFrontEnd>(host.window);
        picture = host.picture;
    }
#endif
    if (!frontEnd) {
        // Looked up once, only in a folder of our own: a place that fails the check is never
        // opened (a link to another user's folder could hold anything, a FIFO that never ends).
        // With none the maze goes without its picture.
        picture = quorlane::findDesktopImageFile();
        // With several monitors the shell names this renderer's one.
        const quorlane::WindowPlacement placement =
            quorlane::windowPlacement(quorlane::monitorFromEnvironment());
#ifdef _WIN32
        frontEnd = std::make_unique<quorlane::WglFullScreen>(placement);
#else
        frontEnd = std::make_unique<quorlane::GlutFullScreen>(argc, argv, placement);
#endif
    }

    // The picture is read and its mipmaps computed while the window and GL start up; the maze
    // scene then only uploads them.
    if (!picture.empty()) quorlane::preparePictureTexture(picture.c_str());
    if (!frontEnd->open()) return 1;

    quorlane::Show show(quorlane::tickCount);
    show.start(quorlane::createMazeFlight(show.clock(), picture));
    frontEnd->run(show);
}

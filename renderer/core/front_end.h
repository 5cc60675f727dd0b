#pragma once
// What the renderer needs of a window system, and all it needs: a window with a current GL
// context, frames drawn back to back into it, the keys typed in it, and its end. One front end
// a window system: GLUT's full screen, a host's X window, a full-screen window over WGL.
// The show itself (scenes, frame clock, the end rule) is the same whichever draws it.

namespace quorlane {

class Show;

class FrontEnd {
public:
    virtual ~FrontEnd() = default;

    // Opens the window and makes its GL context current, swapping at most once a refresh where
    // the driver allows it. False when it cannot, having said why.
    virtual bool open() = 0;

    // Shows the window (full screen, or at the host's size) and runs the show in it: one
    // show.frame() at a time, each followed by a swap, for as long as the process lasts; keys typed
    // into the window go to show.key(). A window that goes ends the show with status 0.
    [[noreturn]] virtual void run(Show& show) = 0;
};

}  // namespace quorlane

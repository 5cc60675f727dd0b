#pragma once
// A show inside a window a screensaver framework owns (XScreenSaver, xsecurelock, a
// settings program's preview). The same sequence as a show of our own: picture, desktop
// image file, music, renderer, end; but on the framework's terms. Nothing is mapped, moved,
// grabbed or hidden; there is no window of ours for a second start to find, so any number
// run side by side, one a window. The show ends when the framework says so: SIGTERM, or the
// host window destroyed; or when the renderer in it ends.
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "shell/core/decoded_picture.h"
#include "shell/platform/poll_loop.h"
#include "shell/platform/renderer_process.h"
#include "shell/platform/x11/x_screen_capture.h"
#include "shell/show/hosted_picture_name.h"
#include "shell/show/show_picture.h"
#include "shell/show/show_sequence.h"
#include "shell/show/show_timers.h"

typedef struct _XDisplay Display;

namespace quorlane {

class HostedShowWindow : private ShowServices {
public:
    struct Places {
        std::string rendererProgram;   // <folder of Quorlane.scr>/Quorlane.dll
        std::string desktopImageFile;  // this window's own; empty when no private folder
        // False when the user's screensaver settings keep the desktop off the screen.
        bool desktopAllowed = true;
    };

    // host: the framework's window (the root window included).
    HostedShowWindow(Display* display, unsigned long host, PollLoop& loop, MusicPlayer& music,
                     const SettingsValues& settings, StartupState& startup,
                     CursorDisplayCount& cursor, Places places, PictureDecoder decodePicture,
                     BuiltInPictureDecoder decodeBuiltIn = {});

    // False, with nothing started, when the window is not there.
    bool startShow();
    void endShow(int exitCode) { sequence_.end(exitCode); }

private:
    void coverPrimaryScreen() override;
    bool loadPicture(const std::string& file) override;
    bool captureScreen() override;
    bool loadBuiltInPicture() override;
    bool saveDesktopImage() override;
    void removeDesktopImage() override;
    bool startRenderer() override;
    bool rendererEnded() override;
    bool rendererEndedNormally() override;
    bool windowExists(const std::string& title) override;
    void stopRenderer() override;
    void setTimerEnabled(ShowTimer timer, bool enabled) override;
    std::chrono::milliseconds now() override;
    void endProcess(int exitCode) override;

    void drainHostEvents();
    void readHostEvents();

    Display* display_;
    unsigned long host_;
    PollLoop& loop_;
    Places places_;
    PictureDecoder decodePicture_;
    BuiltInPictureDecoder decodeBuiltIn_;
    bool hostAlive_ = true;
    bool havePicture_ = false;
    ShowPicture picture_;
    ShowTimers timers_;
    RendererProcess renderer_;
    ShowSequence sequence_;
};

}  // namespace quorlane

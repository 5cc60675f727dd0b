#pragma once
// Vantorel_S: the hidden top-level window "Vantorel_Main" that stands for a running show.
// It never appears; it exists so that a second start finds it, and it carries the
// picture area and the three timers of the show. No toolkit is started for it: a plain X
// window and a poll loop serve, so the renderer starts as soon as the picture is saved.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "shell/core/decoded_picture.h"
#include "shell/platform/poll_loop.h"
#include "shell/platform/renderer_process.h"
#include "shell/platform/x11/x_hidden_window.h"
#include "shell/platform/x11/x_screen_capture.h"
#include "shell/show/show_picture.h"
#include "shell/show/show_sequence.h"
#include "shell/show/show_timers.h"

typedef struct _XDisplay Display;

namespace quorlane {

class ShowWindow : private ShowServices {
public:
    struct Places {
        std::string rendererProgram;   // <folder of Quorlane.scr>/Quorlane.dll
        std::string desktopImageFile;  // where the renderer looks for its picture; empty
                                       // when no private folder could be had
    };

    // Puts a renderer's window (by its process id) full screen on its monitor where the
    // window system would not by itself; false until the window is there.
    using OutputPlacement = std::function<bool(int pid, const MonitorRect& monitor)>;

    // decodePicture reads a chosen picture file, decodeBuiltIn the still built in; without
    // them only the desktop is shown. captureDesktop takes the desktop's picture where the X
    // server cannot (a Wayland session, whose XWayland root window is empty); without it the
    // root window is read.
    ShowWindow(Display* display, PollLoop& loop, MusicPlayer& music, const SettingsValues& settings,
               StartupState& startup, CursorDisplayCount& cursor, Places places,
               PictureDecoder decodePicture, BuiltInPictureDecoder decodeBuiltIn = {},
               CompositorCapture captureDesktop = {}, OutputPlacement placeOnOutput = {});

    // The start sequence; the window stays hidden. Always true: a step that fails is skipped.
    bool startShow();
    // Ends the show the ordinary way (music stopped, cursor back) with this exit code.
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
    void placeRenderer(const MonitorRect& rect) override { primaryMonitor_ = rect; }
    std::vector<Monitor> monitors() override;
    int startRendererOn(const MonitorRect& rect) override;
    RendererState rendererOnState(int id) override;
    void stopRendererOn(int id) override;

    void watchSoon(int triesLeft);
    void unwatchEnd(RendererProcess& process);
    void finish(RendererProcess& process);
    // Starts a renderer on a monitor (none: the whole screen, as alone) and has its end
    // looked at at once.
    bool launch(RendererProcess& process, const std::optional<MonitorRect>& monitor);
    // Tries again, a tick later, to put each started renderer on its monitor.
    void placeSoon(int triesLeft);

    Display* display_;
    PollLoop& loop_;
    Places places_;
    PictureDecoder decodePicture_;
    BuiltInPictureDecoder decodeBuiltIn_;
    CompositorCapture captureDesktop_;
    OutputPlacement placeOnOutput_;
    struct Placement {
        const RendererProcess* process;
        MonitorRect monitor;
        bool placed = false;
    };
    std::vector<Placement> placements_;
    XHiddenWindow window_;
    ScreenRect screen_;
    ShowPicture picture_;
    ShowTimers timers_;
    RendererProcess renderer_;
    std::optional<MonitorRect> primaryMonitor_;
    // The other monitors' renderers, by number; never removed, so numbers stay valid.
    std::vector<std::unique_ptr<RendererProcess>> others_;
    ShowSequence sequence_;
};

}  // namespace quorlane

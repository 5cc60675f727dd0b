#pragma once
// What the hidden show window does, apart from the window system: the start sequence
// (picture, desktop image file, music, renderer), the three timers' jobs and the end
// sequence. Every step runs under one rule: a step that fails is skipped.
#include <chrono>
#include <string>

#include "common/window_titles.h"
#include "shell/core/cursor_display_count.h"
#include "shell/core/startup_state.h"
#include "shell/music/music_player.h"
#include "shell/settings/settings_values.h"
#include "shell/show/monitor_cover.h"
#include "shell/show/renderer_watch.h"

namespace quorlane {

// Timer1 polls the MP3, Timer2 the disc, Timer3 watches the renderer.
enum class ShowTimer { Timer1, Timer2, Timer3 };

constexpr std::chrono::milliseconds showTimerPeriod(ShowTimer timer) {
    switch (timer) {
    case ShowTimer::Timer1: return std::chrono::milliseconds(1000);
    case ShowTimer::Timer2: return std::chrono::milliseconds(200);
    case ShowTimer::Timer3: return std::chrono::milliseconds(100);
    }
    return std::chrono::milliseconds(100);
}

// The picture area's side before anything is put into it, in every show window.
inline constexpr int kEmptyPictureSide = 29;

// How long a renderer may take to end when told before it, and all it started, is killed:
// well inside the second a framework gives a show to end.
inline constexpr std::chrono::milliseconds kRendererGrace{500};

// The window system and process services the show needs. Those of other monitors do
// nothing unless given: a show then has the one monitor.
class ShowServices : public MonitorRendererServices {
public:
    // Size and place the window on the whole primary screen.
    virtual void coverPrimaryScreen() = 0;
    // The picture area takes the picture file at its own size.
    virtual bool loadPicture(const std::string& file) = 0;
    // The picture area takes the primary screen's size and contents; false when there is no
    // picture of the desktop to be had (a framework that kept none, grabbing switched off, a
    // session that refuses the capture).
    virtual bool captureScreen() = 0;
    // The picture area takes the still the preview shows, built into the program.
    virtual bool loadBuiltInPicture() = 0;
    // The picture area's image becomes the desktop image file.
    virtual bool saveDesktopImage() = 0;
    // Removes the desktop image file: an earlier show's after this show's save failed, and
    // this show's at its end.
    virtual void removeDesktopImage() = 0;
    virtual bool startRenderer() = 0;
    // True once the renderer's process has ended (it is then reaped), or never began.
    virtual bool rendererEnded() = 0;
    // True when the ended renderer exited with code 0 (its ordinary end on Escape).
    virtual bool rendererEndedNormally() = 0;
    virtual bool windowExists(const std::string& title) = 0;
    // Ends whatever of the renderer still runs, with all it started.
    virtual void stopRenderer() = 0;
    virtual void setTimerEnabled(ShowTimer timer, bool enabled) = 0;
    virtual std::chrono::milliseconds now() = 0;
    virtual void endProcess(int exitCode) = 0;

    // The primary renderer, started next, goes to this monitor of several.
    virtual void placeRenderer(const MonitorRect&) {}
    std::vector<Monitor> monitors() override { return {}; }
    int startRendererOn(const MonitorRect&) override { return -1; }
    RendererState rendererOnState(int) override { return RendererState::Failed; }
    void stopRendererOn(int) override {}
};

class ShowSequence {
public:
    ShowSequence(ShowServices& services, MusicPlayer& music, const SettingsValues& settings,
                 StartupState& startup, CursorDisplayCount& cursor,
                 RendererWatch::Clock rendererLimit = RendererWatch::kDefaultLimit);

    void start();
    void timer1Tick();  // MP3 poll
    void timer2Tick();  // CD poll
    void timer3Tick();  // renderer watch
    // Runs once, whatever asks for it; later requests do nothing.
    void end(int exitCode);

    bool timerEnabled(ShowTimer timer) const;
    bool ended() const { return ended_; }

private:
    void setTimer(ShowTimer timer, bool enabled);
    bool takePicture();

    ShowServices& services_;
    MusicPlayer& music_;
    const SettingsValues& settings_;
    StartupState& startup_;
    CursorDisplayCount& cursor_;
    RendererWatch watch_;
    MonitorCover cover_;
    bool timers_[3] = {false, false, false};
    bool ended_ = false;
};

}  // namespace quorlane

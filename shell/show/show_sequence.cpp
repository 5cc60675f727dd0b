#include "shell/show/show_sequence.h"

#include <cstdio>

#include "shell/core/skip_on_error.h"
#include "shell/show/music_choice.h"

namespace quorlane {

namespace {

constexpr int kRendererFailedExitCode = 1;

}  // namespace

ShowSequence::ShowSequence(ShowServices& services, MusicPlayer& music,
                           const SettingsValues& settings, StartupState& startup,
                           CursorDisplayCount& cursor, RendererWatch::Clock rendererLimit)
    : services_(services),
      music_(music),
      settings_(settings),
      startup_(startup),
      cursor_(cursor),
      watch_(rendererLimit) {}

bool ShowSequence::timerEnabled(ShowTimer timer) const { return timers_[static_cast<int>(timer)]; }

void ShowSequence::setTimer(ShowTimer timer, bool enabled) {
    timers_[static_cast<int>(timer)] = enabled;
    services_.setTimerEnabled(timer, enabled);
}

void ShowSequence::start() {
    skipOnError([&] { services_.coverPrimaryScreen(); });

    // Written completely before the renderer exists, which reads it once at its start. Without
    // a picture, or when it cannot be written, an earlier show's picture must not stand in for
    // this one: the renderer then shows no picture rather than a stale one.
    bool saved = false;
    if (takePicture()) skipOnError([&] { saved = services_.saveDesktopImage(); });
    if (!saved) skipOnError([&] { services_.removeDesktopImage(); });

    // With several monitors the primary renderer is placed on its own, and the others follow.
    std::optional<MonitorRect> primaryMonitor;
    skipOnError([&] { primaryMonitor = cover_.begin(services_.monitors()); });
    if (primaryMonitor) skipOnError([&] { services_.placeRenderer(*primaryMonitor); });
    skipOnError([&] { services_.startRenderer(); });
    skipOnError([&] { cover_.coverOthers(services_); });

    // Music waits until every renderer has been started: loading the audio libraries would
    // only delay the first frame, and a sound a few milliseconds later goes unnoticed.
    if (settings_.musicMode == 1) {
        skipOnError([&] { music_.cdOpen(); });
        skipOnError([&] { setTimer(ShowTimer::Timer2, true); });
    } else if (settings_.musicMode == 2) {
        switch (musicKindOf(settings_.musicFile)) {
        case MusicKind::Wav: skipOnError([&] { music_.wavStart(); }); break;
        case MusicKind::Mp3:
            skipOnError([&] { music_.mp3Start(); });
            skipOnError([&] { setTimer(ShowTimer::Timer1, true); });
            break;
        case MusicKind::None: break;
        }
    }

    skipOnError([&] { watch_.start(services_.now()); });
    skipOnError([&] { setTimer(ShowTimer::Timer3, true); });
}

// A chosen picture that cannot be loaded falls back to the desktop, so the renderer gets a
// picture worth showing rather than a tiny black square; when that is missing too, the walls
// stay plain. Where the desktop gives nothing for a reason of the system's, bare white walls
// would glare on a locked screen: the picture set in the settings stands in, else the still.
bool ShowSequence::takePicture() {
    bool have = false;
    const bool chosen = settings_.pictureMode != 0;
    if (chosen) skipOnError([&] { have = services_.loadPicture(settings_.pictureFile); });
    if (!have) skipOnError([&] { have = services_.captureScreen(); });
    if (have || chosen) return have;
    const char* shown = "the picture set in the settings";
    if (!settings_.pictureFile.empty()) {
        skipOnError([&] { have = services_.loadPicture(settings_.pictureFile); });
    }
    if (!have) {
        shown = "the built-in picture";
        skipOnError([&] { have = services_.loadBuiltInPicture(); });
    }
    if (have) std::fprintf(stderr, "Quorlane.scr: no picture of the desktop: showing %s\n", shown);
    return have;
}

void ShowSequence::timer1Tick() {
    if (ended_) return;
    skipOnError([&] { music_.mp3Poll(); });
}

void ShowSequence::timer2Tick() {
    if (ended_) return;
    skipOnError([&] { music_.cdPoll(); });
    skipOnError([&] { setTimer(ShowTimer::Timer2, music_.cdAvailable()); });
}

void ShowSequence::timer3Tick() {
    if (ended_) return;
    if (cover_.active()) {
        MonitorCover::Verdict shows = MonitorCover::Verdict::Going;
        skipOnError([&] {
            RendererState primary = RendererState::Running;
            if (services_.rendererEnded()) {
                primary = services_.rendererEndedNormally() ? RendererState::EndedNormally
                                                            : RendererState::Failed;
            }
            shows = cover_.tick(services_, primary);
        });
        if (shows == MonitorCover::Verdict::EndShow) {
            skipOnError([&] { setTimer(ShowTimer::Timer3, false); });
            end(0);
            return;
        }
    }
    RendererWatch::Verdict verdict = RendererWatch::Verdict::Waiting;
    skipOnError([&] {
        const bool window = services_.windowExists(kRendererWindowTitle);
        // Asked every tick so an ended renderer is reaped at once.
        const bool processEnded = services_.rendererEnded();
        const bool normally = processEnded && services_.rendererEndedNormally();
        verdict = watch_.tick(window, processEnded, normally, services_.now());
    });
    // The other monitors' windows carry the same title, so the watch may take them for the
    // primary renderer's; while one of them still flies, its failure does not end the show.
    const bool over =
        verdict == RendererWatch::Verdict::Gone || verdict == RendererWatch::Verdict::NeverAppeared;
    if (over && cover_.othersRunning()) return;
    if (verdict == RendererWatch::Verdict::Gone) {
        skipOnError([&] { setTimer(ShowTimer::Timer3, false); });
        end(0);
    } else if (verdict == RendererWatch::Verdict::NeverAppeared) {
        skipOnError([&] { setTimer(ShowTimer::Timer3, false); });
        end(kRendererFailedExitCode);
    }
}

void ShowSequence::end(int exitCode) {
    if (ended_) return;
    ended_ = true;
    if (timerEnabled(ShowTimer::Timer2)) {
        skipOnError([&] { setTimer(ShowTimer::Timer2, false); });
        skipOnError([&] { music_.cdStop(); });
    }
    if (settings_.musicMode == 2) {
        switch (musicKindOf(settings_.musicFile)) {
        case MusicKind::Wav: skipOnError([&] { music_.wavStop(); }); break;
        case MusicKind::Mp3:
            skipOnError([&] { setTimer(ShowTimer::Timer1, false); });
            skipOnError([&] { music_.mp3Stop(); });
            break;
        case MusicKind::None: break;
        }
    }
    // The count kept at start-up (normally -1) is non-zero, so handing it back shows the
    // cursor. Without a count the cursor was never hidden, and must not be hidden now.
    if (startup_.modeSwitch() == 'S' && startup_.hiddenCursorCount) {
        skipOnError(
            [&] { startup_.hiddenCursorCount = cursor_.showCursor(*startup_.hiddenCursorCount); });
    }
    // Nothing may tick once the show is over.
    skipOnError([&] {
        for (ShowTimer t : {ShowTimer::Timer1, ShowTimer::Timer2, ShowTimer::Timer3}) {
            if (timerEnabled(t)) setTimer(t, false);
        }
    });
    // A renderer given up on, or still running when the shell is told to stop, goes with
    // the show; after its own end this only collects it.
    skipOnError([&] { services_.stopRenderer(); });
    // Every renderer read the picture at its start, and the screen it shows must not outlive
    // the show on disk.
    skipOnError([&] { services_.removeDesktopImage(); });
    services_.endProcess(exitCode);
}

}  // namespace quorlane

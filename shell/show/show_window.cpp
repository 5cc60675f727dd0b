#include "shell/show/show_window.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "common/window_titles.h"
#include "shell/platform/x11/x_monitors.h"
#include "shell/platform/x11/x_window_lookup.h"

namespace quorlane {

namespace {

// How often, and how many times, a renderer's window is looked for to put it on its monitor.
constexpr std::chrono::milliseconds kPlacementInterval{50};
constexpr int kPlacementTries = 200;

}  // namespace

ShowWindow::ShowWindow(Display* display, PollLoop& loop, MusicPlayer& music,
                       const SettingsValues& settings, StartupState& startup,
                       CursorDisplayCount& cursor, Places places, PictureDecoder decodePicture,
                       BuiltInPictureDecoder decodeBuiltIn, CompositorCapture captureDesktop,
                       OutputPlacement placeOnOutput)
    : display_(display),
      loop_(loop),
      places_(std::move(places)),
      decodePicture_(std::move(decodePicture)),
      decodeBuiltIn_(std::move(decodeBuiltIn)),
      captureDesktop_(std::move(captureDesktop)),
      placeOnOutput_(std::move(placeOnOutput)),
      // Made at once: the single-instance test of a second start looks for exactly it.
      window_(display, kShowWindowTitle),
      timers_(loop, sequence_),
      sequence_(*this, music, settings, startup, cursor) {
    picture_.holdBlack(kEmptyPictureSide, kEmptyPictureSide);
}

bool ShowWindow::startShow() {
    sequence_.start();
    return true;
}

void ShowWindow::coverPrimaryScreen() {
    screen_ = primaryScreenRect(display_);
    window_.setGeometry(screen_);
}

bool ShowWindow::loadPicture(const std::string& file) {
    DecodedPicture decoded;
    return decodePicture_ && decodePicture_(file, decoded) && picture_.take(std::move(decoded));
}

bool ShowWindow::captureScreen() {
    if (screen_.width <= 0) screen_ = primaryScreenRect(display_);
    if (captureDesktop_) {
        DecodedPicture shot;
        if (captureDesktop_(shot) && picture_.take(std::move(shot))) return true;
        picture_.holdBlack(screen_.width, screen_.height);
        return false;
    }
    if (picture_.take(RootCapture::grab(display_, screen_))) return true;
    // The picture area has taken the screen's size: a failed grab leaves it black.
    picture_.holdBlack(screen_.width, screen_.height);
    return false;
}

bool ShowWindow::loadBuiltInPicture() {
    DecodedPicture decoded;
    return decodeBuiltIn_ && decodeBuiltIn_(decoded) && picture_.take(std::move(decoded));
}

bool ShowWindow::saveDesktopImage() { return picture_.saveAs(places_.desktopImageFile); }

void ShowWindow::removeDesktopImage() {
    if (!places_.desktopImageFile.empty()) unlink(places_.desktopImageFile.c_str());
}

bool ShowWindow::launch(RendererProcess& process, const std::optional<MonitorRect>& monitor) {
    // An inherited monitor must not move a renderer that should fill the screen.
    const std::string variable = kRendererMonitorVariable;
    if (!process.start(places_.rendererProgram, {},
                       {monitor ? variable + "=" + monitorGeometryText(*monitor) : variable})) {
        std::fprintf(stderr, "Quorlane.scr: cannot start the renderer %s: %s\n",
                     places_.rendererProgram.c_str(), std::strerror(process.error()));
        return false;
    }
    if (monitor && placeOnOutput_) {
        placements_.push_back({&process, *monitor});
        if (placements_.size() == 1) {
            loop_.singleShot(kPlacementInterval, [this] { placeSoon(kPlacementTries); });
        }
    }
    // Escape ends the renderer; watching its exit lets the show end at once instead of up to
    // a whole watch interval later. The watch itself still decides, by the window's title.
    const int exitFd = process.endNotifier();
    if (exitFd >= 0) {
        loop_.watchReadable(exitFd, [this, exitFd] {
            loop_.unwatch(exitFd);
            watchSoon(10);
        });
    }
    return true;
}

bool ShowWindow::startRenderer() { return launch(renderer_, primaryMonitor_); }

std::vector<Monitor> ShowWindow::monitors() { return activeMonitors(display_); }

int ShowWindow::startRendererOn(const MonitorRect& rect) {
    auto process = std::make_unique<RendererProcess>();
    if (!launch(*process, rect)) return -1;
    others_.push_back(std::move(process));
    return static_cast<int>(others_.size()) - 1;
}

RendererState ShowWindow::rendererOnState(int id) {
    if (id < 0 || static_cast<std::size_t>(id) >= others_.size()) return RendererState::Failed;
    RendererProcess& process = *others_[static_cast<std::size_t>(id)];
    if (!process.ended()) return RendererState::Running;
    // Ended by itself (a crash): whatever it left in its group goes too, and it is reaped.
    finish(process);
    return process.endedNormally() ? RendererState::EndedNormally : RendererState::Failed;
}

void ShowWindow::stopRendererOn(int id) {
    if (id >= 0 && static_cast<std::size_t>(id) < others_.size()) {
        finish(*others_[static_cast<std::size_t>(id)]);
    }
}

// Ends one renderer while the show goes on. One killed but not yet gone when endGroup stopped
// waiting is reaped (its descriptor closed) the moment it ends, so no zombie piles up for
// every monitor that comes and goes.
void ShowWindow::finish(RendererProcess& process) {
    unwatchEnd(process);
    process.endGroup(kRendererGrace);
    const int fd = process.endNotifier();
    if (fd < 0 || process.collect()) return;
    loop_.watchReadable(fd, [this, fd, &process] {
        loop_.unwatch(fd);
        process.collect();
    });
}

void ShowWindow::placeSoon(int triesLeft) {
    bool placedNow = false, waiting = false;
    for (Placement& p : placements_) {
        if (p.placed) continue;
        p.placed = placeOnOutput_(p.process->pid(), p.monitor);
        placedNow = placedNow || p.placed;
        waiting = waiting || !p.placed;
    }
    // A window made full screen where another already was takes that one's place: once all
    // are on their own monitors, every one is made full screen again.
    if (placedNow && !waiting) {
        for (const Placement& p : placements_) placeOnOutput_(p.process->pid(), p.monitor);
    }
    if (waiting && triesLeft > 1) {
        loop_.singleShot(kPlacementInterval, [this, triesLeft] { placeSoon(triesLeft - 1); });
    }
}

// Its descriptor is closed when the process is reaped, and the number may then be reused.
void ShowWindow::unwatchEnd(RendererProcess& process) {
    if (process.endNotifier() >= 0) loop_.unwatch(process.endNotifier());
}

// The X server drops a dead client's window a moment after the process ends, so the watch
// looks a few times in quick succession before leaving it to its regular tick.
void ShowWindow::watchSoon(int triesLeft) {
    if (triesLeft <= 0 || !timers_.enabled(ShowTimer::Timer3)) return;
    sequence_.timer3Tick();
    loop_.singleShot(std::chrono::milliseconds(5), [this, triesLeft] { watchSoon(triesLeft - 1); });
}

bool ShowWindow::rendererEnded() {
    if (!renderer_.ended()) return false;
    // The show may go on without it on the other monitors: it is reaped now, not at the end.
    finish(renderer_);
    return true;
}

void ShowWindow::stopRenderer() {
    std::vector<RendererProcess*> all{&renderer_};
    for (auto& other : others_) all.push_back(other.get());
    for (RendererProcess* process : all) unwatchEnd(*process);
    RendererProcess::endGroups(all, kRendererGrace);
}

bool ShowWindow::rendererEndedNormally() { return renderer_.endedNormally(); }

bool ShowWindow::windowExists(const std::string& title) {
    return topLevelWindowExists(display_, title);
}

void ShowWindow::setTimerEnabled(ShowTimer which, bool enabled) {
    timers_.setEnabled(which, enabled);
}

std::chrono::milliseconds ShowWindow::now() { return ShowTimers::now(); }

void ShowWindow::endProcess(int exitCode) {
    renderer_.ended();  // reap a renderer that has just gone
    loop_.quit(exitCode);
}

}  // namespace quorlane

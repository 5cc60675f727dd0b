#include "shell/show/show_window.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "common/atomic_file.h"
#include "common/window_titles.h"
#include "shell/platform/x_window_lookup.h"
#include "shell/show/bmp_encoder.h"

namespace quorlane {

namespace {

// The picture area's size before anything is put into it.
constexpr int kEmptyPictureSide = 29;

// How long a renderer may take to end on SIGTERM before it, and all it started, is killed.
constexpr std::chrono::milliseconds kRendererGrace{500};

}  // namespace

ShowWindow::ShowWindow(Display* display, PollLoop& loop, MusicPlayer& music,
                       const SettingsValues& settings, StartupState& startup,
                       CursorDisplayCount& cursor, Places places, PictureDecoder decodePicture)
    : display_(display),
      loop_(loop),
      places_(std::move(places)),
      decodePicture_(std::move(decodePicture)),
      // Made at once: the single-instance test of a second start looks for exactly it.
      window_(display, kShowWindowTitle),
      dotsPerMeterX_(kScreenDotsPerMeter),
      dotsPerMeterY_(kScreenDotsPerMeter),
      timer1_(loop.addTimer(std::chrono::milliseconds(1000), [this] { sequence_.timer1Tick(); })),
      timer2_(loop.addTimer(std::chrono::milliseconds(200), [this] { sequence_.timer2Tick(); })),
      timer3_(loop.addTimer(std::chrono::milliseconds(100), [this] { sequence_.timer3Tick(); })),
      sequence_(*this, music, settings, startup, cursor) {
    holdBlack(kEmptyPictureSide, kEmptyPictureSide);
}

void ShowWindow::holdBlack(int width, int height) {
    capture_.reset();
    ownPixels_.assign(static_cast<std::size_t>(width) * height, 0);
    picture_ = {width, height, static_cast<std::size_t>(width) * 4,
                reinterpret_cast<const uint8_t*>(ownPixels_.data())};
}

void ShowWindow::startShow() { sequence_.start(); }

void ShowWindow::coverPrimaryScreen() {
    screen_ = primaryScreenRect(display_);
    window_.setGeometry(screen_);
}

bool ShowWindow::loadPicture(const std::string& file) {
    DecodedPicture decoded;
    if (!decodePicture_ || !decodePicture_(file, decoded)) return false;
    if (decoded.width <= 0 || decoded.height <= 0 ||
        decoded.pixels.size() != static_cast<std::size_t>(decoded.width) * decoded.height) {
        return false;
    }
    capture_.reset();
    ownPixels_ = std::move(decoded.pixels);
    picture_ = {decoded.width, decoded.height, static_cast<std::size_t>(decoded.width) * 4,
                reinterpret_cast<const uint8_t*>(ownPixels_.data())};
    dotsPerMeterX_ = decoded.dotsPerMeterX;
    dotsPerMeterY_ = decoded.dotsPerMeterY;
    return true;
}

bool ShowWindow::captureScreen() {
    if (screen_.width <= 0) screen_ = primaryScreenRect(display_);
    dotsPerMeterX_ = dotsPerMeterY_ = kScreenDotsPerMeter;
    capture_ = RootCapture::grab(display_, screen_);
    if (capture_) {
        ownPixels_.clear();
        picture_ = capture_->pixels();
        return true;
    }
    // The picture area has taken the screen's size: a failed grab leaves it black.
    holdBlack(screen_.width, screen_.height);
    return false;
}

bool ShowWindow::saveDesktopImage() {
    // The show goes on without its picture; the user is told why in one line.
    if (places_.desktopImageFile.empty()) {
        std::fprintf(stderr,
                     "Quorlane.scr: cannot save the desktop picture: no folder of "
                     "this user's own to keep it in\n");
        return false;
    }
    // Only this show's renderer reads it, and the next show writes it anew: it must never be
    // seen half written, but need not outlast a crash, so the start does not wait for the disk.
    bool encodable = true;
    errno = 0;
    const auto contents = [&](const PieceWriter& write) {
        bool written = true;
        const bool whole =
            writeBmpFile(picture_, dotsPerMeterX_, dotsPerMeterY_,
                         [&](std::string_view piece) { return written = write(piece); });
        encodable = whole || !written;  // a failed write is not a picture that cannot be encoded
        return whole;
    };
    if (replaceFileAtomically(places_.desktopImageFile, contents, 0600,
                              Durability::RemadeAtEachUse)) {
        return true;
    }
    const int error = errno;
    std::fprintf(
        stderr, "Quorlane.scr: cannot save the desktop picture %s: %s\n",
        places_.desktopImageFile.c_str(),
        encodable && error != 0 ? std::strerror(error) : "the picture could not be encoded");
    return false;
}

void ShowWindow::removeDesktopImage() {
    if (!places_.desktopImageFile.empty()) unlink(places_.desktopImageFile.c_str());
}

bool ShowWindow::startRenderer() {
    if (!renderer_.start(places_.rendererProgram)) {
        std::fprintf(stderr, "Quorlane.scr: cannot start the renderer %s: %s\n",
                     places_.rendererProgram.c_str(), std::strerror(renderer_.error()));
        return false;
    }
    // Escape ends the renderer; watching its exit lets the show end at once instead of up to
    // a whole watch interval later. The watch itself still decides, by the window's title.
    const int exitFd = renderer_.endNotifier();
    if (exitFd >= 0) {
        loop_.watchReadable(exitFd, [this, exitFd] {
            loop_.unwatch(exitFd);
            watchSoon(10);
        });
    }
    return true;
}

// The X server drops a dead client's window a moment after the process ends, so the watch
// looks a few times in quick succession before leaving it to its regular tick.
void ShowWindow::watchSoon(int triesLeft) {
    if (triesLeft <= 0 || !loop_.timerActive(timer3_)) return;
    sequence_.timer3Tick();
    loop_.singleShot(std::chrono::milliseconds(5), [this, triesLeft] { watchSoon(triesLeft - 1); });
}

bool ShowWindow::rendererEnded() { return renderer_.ended(); }

void ShowWindow::stopRenderer() { renderer_.endGroup(kRendererGrace); }

bool ShowWindow::rendererEndedNormally() {
    const int status = renderer_.status();
    return status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool ShowWindow::windowExists(const std::string& title) {
    return topLevelWindowExists(display_, title);
}

int ShowWindow::timer(ShowTimer which) const {
    switch (which) {
    case ShowTimer::Timer1: return timer1_;
    case ShowTimer::Timer2: return timer2_;
    case ShowTimer::Timer3: return timer3_;
    }
    return timer3_;
}

void ShowWindow::setTimerEnabled(ShowTimer which, bool enabled) {
    if (enabled) {
        loop_.startTimer(timer(which));
    } else {
        loop_.stopTimer(timer(which));
    }
}

std::chrono::milliseconds ShowWindow::now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

void ShowWindow::endProcess(int exitCode) {
    renderer_.ended();  // reap a renderer that has just gone
    loop_.quit(exitCode);
}

}  // namespace quorlane

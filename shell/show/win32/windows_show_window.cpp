#include "shell/show/win32/windows_show_window.h"

#include <cstdio>

#include "common/monitor_geometry.h"
#include "common/window_titles.h"
#include "shell/show/win32/windows_preview_window.h"

namespace quorlane {

namespace {

unsigned timerNumber(ShowTimer timer) {
    switch (timer) {
    case ShowTimer::Timer1: return 1;
    case ShowTimer::Timer2: return 2;
    case ShowTimer::Timer3: return 3;
    }
    return 3;
}

}  // namespace

WindowsShowWindow::WindowsShowWindow(MusicPlayer& music, const SettingsValues& settings,
                                     StartupState& startup, CursorDisplayCount& cursor,
                                     Places places, PictureDecoder decodePicture)
    : places_(std::move(places)),
      decodePicture_(std::move(decodePicture)),
      // Made at once: the single-instance test of a second start looks for exactly it.
      window_(kShowWindowTitle),
      sequence_(*this, music, settings, startup, cursor) {
    picture_.holdBlack(kEmptyPictureSide, kEmptyPictureSide);
    window_.onTimer([this](unsigned number) {
        if (number == 1) sequence_.timer1Tick();
        if (number == 2) sequence_.timer2Tick();
        if (number == 3) sequence_.timer3Tick();
    });
}

int WindowsShowWindow::run() {
    sequence_.start();  // a show that ends at once has already posted its exit code
    return Win32MessageWindow::runLoop();
}

void WindowsShowWindow::coverPrimaryScreen() { screen_ = primaryScreenSize(); }

bool WindowsShowWindow::loadPicture(const std::string& file) {
    DecodedPicture decoded;
    return decodePicture_ && decodePicture_(file, decoded) && picture_.take(std::move(decoded));
}

bool WindowsShowWindow::captureScreen() {
    if (screen_.width <= 0) screen_ = primaryScreenSize();
    if (picture_.take(DesktopCapture::grab(screen_))) return true;
    // The picture area has taken the screen's size: a failed grab leaves it black.
    picture_.holdBlack(screen_.width, screen_.height);
    return false;
}

bool WindowsShowWindow::loadBuiltInPicture() {
    DecodedPicture decoded;
    return decodePreviewStill(decoded) && picture_.take(std::move(decoded));
}

bool WindowsShowWindow::saveDesktopImage() { return picture_.saveAs(places_.desktopImageFile); }

void WindowsShowWindow::removeDesktopImage() {
    if (!places_.desktopImageFile.empty()) std::remove(places_.desktopImageFile.c_str());
}

bool WindowsShowWindow::startRenderer() {
    // An inherited monitor must not move a renderer that should fill the screen.
    if (renderer_.start(places_.rendererProgram, kRendererMonitorVariable)) return true;
    std::fprintf(stderr, "Quorlane.scr: cannot start the renderer %s: system error %lu\n",
                 places_.rendererProgram.c_str(), renderer_.error());
    return false;
}

bool WindowsShowWindow::rendererEnded() { return renderer_.ended(); }

bool WindowsShowWindow::rendererEndedNormally() { return renderer_.endedNormally(); }

bool WindowsShowWindow::windowExists(const std::string& title) {
    return topLevelWindowExists(title);
}

void WindowsShowWindow::stopRenderer() {
    renderer_.end(static_cast<unsigned>(kRendererGrace.count()));
}

void WindowsShowWindow::setTimerEnabled(ShowTimer timer, bool enabled) {
    if (enabled) {
        window_.startTimer(timerNumber(timer), showTimerPeriod(timer));
    } else {
        window_.stopTimer(timerNumber(timer));
    }
}

std::chrono::milliseconds WindowsShowWindow::now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

void WindowsShowWindow::endProcess(int exitCode) { Win32MessageWindow::quit(exitCode); }

}  // namespace quorlane

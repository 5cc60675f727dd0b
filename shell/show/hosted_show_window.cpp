#include "shell/show/hosted_show_window.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "shell/platform/x11/x_framework_screenshot.h"
#include "shell/platform/x11/x_window_lookup.h"

namespace quorlane {

namespace {

std::string hexId(unsigned long id) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", id);
    return text;
}

}  // namespace

HostedShowWindow::HostedShowWindow(Display* display, unsigned long host, PollLoop& loop,
                                   MusicPlayer& music, const SettingsValues& settings,
                                   StartupState& startup, CursorDisplayCount& cursor, Places places,
                                   PictureDecoder decodePicture,
                                   BuiltInPictureDecoder decodeBuiltIn)
    : display_(display),
      host_(host),
      loop_(loop),
      places_(std::move(places)),
      decodePicture_(std::move(decodePicture)),
      decodeBuiltIn_(std::move(decodeBuiltIn)),
      timers_(loop, sequence_),
      sequence_(*this, music, settings, startup, cursor) {
    // Told when the framework destroys its window; any number of clients may listen so.
    XSelectInput(display_, host_, StructureNotifyMask);
    XSync(display_, False);
    if (!isExistingWindow(display_, static_cast<uint32_t>(host_))) hostAlive_ = false;
    loop_.watchReadable(ConnectionNumber(display_), [this] { readHostEvents(); });
}

void HostedShowWindow::drainHostEvents() {
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == DestroyNotify && event.xdestroywindow.window == host_) hostAlive_ = false;
    }
}

void HostedShowWindow::readHostEvents() {
    drainHostEvents();
    if (!hostAlive_) sequence_.end(0);
}

bool HostedShowWindow::startShow() {
    if (!hostAlive_) {
        std::fprintf(stderr, "Quorlane.scr: no window %s to show in\n", hexId(host_).c_str());
        return false;
    }
    sequence_.start();
    return true;
}

// The framework owns the window and its place: nothing is placed here.
void HostedShowWindow::coverPrimaryScreen() {}

bool HostedShowWindow::loadPicture(const std::string& file) {
    DecodedPicture decoded;
    if (!decodePicture_ || !decodePicture_(file, decoded) || !picture_.take(std::move(decoded))) {
        return false;
    }
    havePicture_ = true;
    return true;
}

bool HostedShowWindow::loadBuiltInPicture() {
    DecodedPicture decoded;
    if (!decodeBuiltIn_ || !decodeBuiltIn_(decoded) || !picture_.take(std::move(decoded))) {
        return false;
    }
    havePicture_ = true;
    return true;
}

// The desktop as the framework saw it before it covered the screen; nothing (and never a
// black picture) when it kept none, or when the user's XScreenSaver settings forbid showing it
// (XScreenSaver leaves its screenshot on the window whatever they say).
bool HostedShowWindow::captureScreen() {
    if (!places_.desktopAllowed) return false;
    auto capture = frameworkScreenshot(display_, host_);
    // Given the root window itself, nothing covers the desktop unless a framework's blank
    // window does, which shows as one colour.
    if (!capture && host_ == DefaultRootWindow(display_)) {
        capture = RootCapture::grab(display_, primaryScreenRect(display_));
        if (capture && isOneColour(capture->pixels())) capture.reset();
    }
    if (!picture_.take(std::move(capture))) return false;
    havePicture_ = true;
    return true;
}

bool HostedShowWindow::saveDesktopImage() {
    if (!havePicture_) return false;
    return picture_.saveAs(places_.desktopImageFile);
}

void HostedShowWindow::removeDesktopImage() {
    if (!places_.desktopImageFile.empty()) unlink(places_.desktopImageFile.c_str());
}

bool HostedShowWindow::startRenderer() {
    std::vector<std::string> arguments{"-window-id", hexId(host_)};
    if (havePicture_ && !places_.desktopImageFile.empty()) {
        arguments.insert(arguments.end(), {"-picture", places_.desktopImageFile});
    }
    if (!renderer_.start(places_.rendererProgram, arguments)) {
        std::fprintf(stderr, "Quorlane.scr: cannot start the renderer %s: %s\n",
                     places_.rendererProgram.c_str(), std::strerror(renderer_.error()));
        return false;
    }
    // The renderer ends by itself only when the window has gone or cannot be drawn into:
    // the watch hears of it at once instead of at its next tick.
    const int exitFd = renderer_.endNotifier();
    if (exitFd >= 0) {
        loop_.watchReadable(exitFd, [this, exitFd] {
            loop_.unwatch(exitFd);
            sequence_.timer3Tick();
        });
    }
    return true;
}

bool HostedShowWindow::rendererEnded() { return renderer_.ended(); }

bool HostedShowWindow::rendererEndedNormally() { return renderer_.endedNormally(); }

// The renderer has no window of its own here: what the watch looks for is the host window
// with the renderer drawing in it.
bool HostedShowWindow::windowExists(const std::string&) {
    drainHostEvents();
    return hostAlive_ && !renderer_.ended();
}

void HostedShowWindow::stopRenderer() {
    if (renderer_.endNotifier() >= 0) loop_.unwatch(renderer_.endNotifier());  // closed on reaping
    renderer_.endGroup(kRendererGrace);
    // No framework owns the root window to paint it again: the last frame would stay on the
    // desktop. Its own background comes back, and whoever draws on it is told to.
    if (host_ == DefaultRootWindow(display_)) {
        XClearArea(display_, host_, 0, 0, 0, 0, True);
        XFlush(display_);
    }
}

void HostedShowWindow::setTimerEnabled(ShowTimer which, bool enabled) {
    timers_.setEnabled(which, enabled);
}

std::chrono::milliseconds HostedShowWindow::now() { return ShowTimers::now(); }

void HostedShowWindow::endProcess(int exitCode) {
    renderer_.ended();
    loop_.quit(exitCode);
}

}  // namespace quorlane

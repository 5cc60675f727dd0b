#include "shell/show/show_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <QSocketNotifier>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "shell/platform/picture_file.h"
#include "shell/platform/screen_capture.h"
#include "shell/platform/x_window_lookup.h"

namespace quorlane {

namespace {

// The picture area's size before anything is put into it.
constexpr int kEmptyPictureSide = 29;

// How long a renderer may take to end on SIGTERM before it, and all it started, is killed.
constexpr std::chrono::milliseconds kRendererGrace{500};

QImage blackImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

}  // namespace

ShowWindow::ShowWindow(Display* display, MusicPlayer& music, const SettingsValues& settings,
                       StartupState& startup, CursorDisplayCount& cursor, Places places)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      display_(display),
      places_(std::move(places)),
      picture_(blackImage(kEmptyPictureSide, kEmptyPictureSide)),
      timer1_(this),
      timer2_(this),
      timer3_(this),
      sequence_(*this, music, settings, startup, cursor) {
    setObjectName("Vantorel_S");
    setWindowTitle("Vantorel_Main");
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);
    // A hidden widget has no X window until asked for one; the single-instance test of a
    // second start looks for exactly that window.
    winId();

    timer1_.setObjectName("Timer1");
    timer1_.setInterval(1000);
    timer2_.setObjectName("Timer2");
    timer2_.setInterval(200);
    timer3_.setObjectName("Timer3");
    timer3_.setInterval(100);
    connect(&timer1_, &QTimer::timeout, this, [this] { sequence_.timer1Tick(); });
    connect(&timer2_, &QTimer::timeout, this, [this] { sequence_.timer2Tick(); });
    connect(&timer3_, &QTimer::timeout, this, [this] { sequence_.timer3Tick(); });
}

void ShowWindow::startShow() { sequence_.start(); }

void ShowWindow::closeEvent(QCloseEvent* event) {
    sequence_.end(0);
    event->accept();
}

void ShowWindow::coverPrimaryScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    setGeometry(screen->geometry());
    // A hidden widget keeps a new geometry to itself until shown; the X window, which is
    // all a hidden show window is, must have the screen's size too.
    if (QWindow* window = windowHandle()) window->setGeometry(screen->geometry());
}

bool ShowWindow::loadPicture(const std::string& file) {
    QImage picture = loadPictureFile(file);
    if (picture.isNull()) return false;
    picture_ = std::move(picture);
    return true;
}

bool ShowWindow::captureScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen != nullptr ? screen->size() : QSize();
    // The picture area takes the screen's size first, so a failed grab leaves it black.
    if (size.isValid()) picture_ = blackImage(size.width(), size.height());
    QImage capture = capturePrimaryScreen();
    if (capture.isNull()) return false;
    picture_ = std::move(capture);
    return true;
}

bool ShowWindow::saveDesktopImage() {
    // The show goes on without its picture; the user is told why in one line.
    if (places_.desktopImageFile.empty()) {
        std::fprintf(stderr, "Quorlane.scr: cannot save the desktop picture: no folder of "
                             "this user's own to keep it in\n");
        return false;
    }
    errno = 0;
    if (saveBmp24(picture_, places_.desktopImageFile)) return true;
    const int error = errno;
    std::fprintf(stderr, "Quorlane.scr: cannot save the desktop picture %s: %s\n",
                 places_.desktopImageFile.c_str(),
                 error != 0 ? std::strerror(error) : "the picture could not be encoded");
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
    if (renderer_.endNotifier() >= 0) {
        rendererExit_ = std::make_unique<QSocketNotifier>(renderer_.endNotifier(),
                                                          QSocketNotifier::Read);
        connect(rendererExit_.get(), &QSocketNotifier::activated, this, [this] {
            rendererExit_->setEnabled(false);
            watchSoon(10);
        });
    }
    return true;
}

// The X server drops a dead client's window a moment after the process ends, so the watch
// looks a few times in quick succession before leaving it to its regular tick.
void ShowWindow::watchSoon(int triesLeft) {
    if (triesLeft <= 0 || !timer3_.isActive()) return;
    sequence_.timer3Tick();
    QTimer::singleShot(5, this, [this, triesLeft] { watchSoon(triesLeft - 1); });
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

QTimer* ShowWindow::timer(ShowTimer which) {
    switch (which) {
        case ShowTimer::Timer1: return &timer1_;
        case ShowTimer::Timer2: return &timer2_;
        case ShowTimer::Timer3: return &timer3_;
    }
    return nullptr;
}

void ShowWindow::setTimerEnabled(ShowTimer which, bool enabled) {
    QTimer* t = timer(which);
    if (enabled && !t->isActive()) t->start();
    if (!enabled) t->stop();
}

std::chrono::milliseconds ShowWindow::now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

void ShowWindow::endProcess(int exitCode) {
    QCoreApplication::exit(exitCode);
}

}  // namespace quorlane

#include "shell/platform/screen_capture.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace quorlane {

QImage capturePrimaryScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return {};
    // Window 0 is the whole screen; the primary screen's part of it by default.
    return screen->grabWindow(0).toImage();
}

}  // namespace quorlane

#pragma once
// The primary screen's contents, as they are now.
#include <QImage>

namespace quorlane {

// A null image when the screen cannot be read.
QImage capturePrimaryScreen();

}  // namespace quorlane

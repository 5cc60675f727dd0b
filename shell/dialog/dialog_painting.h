#pragma once
// The dialog's own drawing on retained images: the gradient behind everything, the tile strip
// over the two panels and the picture preview. Plain pixel copies: no antialiasing, no
// blending, so what is drawn is exactly the colours given.
#include <QImage>

namespace quorlane {

// One line per row, rows 0 to the surface's height (the last one falls outside and is clipped).
void paintBackground(QImage& surface);

// Lays the strip over a panel's retained image (its inner area) as the panel's outer size
// decides; copies that fall outside are clipped.
void tilePanel(QImage& retained, const QImage& strip, int outerWidth, int outerHeight);

// Stretches the whole source onto the rectangle (0, 0, width, height) of the target, keeping
// or dropping whole rows and columns (nearest neighbour); the part outside the target is
// clipped. A width or height of 0 draws nothing.
void stretchNearest(QImage& target, const QImage& source, int width, int height);

}  // namespace quorlane

#include "shell/dialog/dialog_painting.h"

#include <QPainter>

#include <algorithm>

#include "shell/dialog/dialog_geometry.h"

namespace quorlane {

void paintBackground(QImage& surface) {
    const int height = surface.height();
    const int width = surface.width();
    // The curve has height + 1 rows; the last one lies just below the surface.
    for (int y = 0; y < height; ++y) {
        const int b = backgroundShade(y, height);
        const QRgb colour = qRgb(b + 30, b, b + 30);
        QRgb* row = reinterpret_cast<QRgb*>(surface.scanLine(y));
        std::fill(row, row + width, colour);
    }
}

void tilePanel(QImage& retained, const QImage& strip, int outerWidth, int outerHeight) {
    QPainter painter(&retained);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const IntPoint& at : tileOrigins(outerWidth, outerHeight, strip.width(), strip.height())) {
        painter.drawImage(at.x, at.y, strip);
    }
}

void stretchNearest(QImage& target, const QImage& source, int width, int height) {
    if (width <= 0 || height <= 0 || source.isNull()) return;
    const QImage from = source.convertToFormat(QImage::Format_RGB32);
    const int columns = std::min(width, target.width());
    const int rows = std::min(height, target.height());
    const long long sourceWidth = from.width();
    const long long sourceHeight = from.height();
    for (int y = 0; y < rows; ++y) {
        // The source row under the centre of the target row.
        const int sy = static_cast<int>(((2LL * y + 1) * sourceHeight) / (2LL * height));
        const QRgb* in = reinterpret_cast<const QRgb*>(from.constScanLine(sy));
        for (int x = 0; x < columns; ++x) {
            const int sx = static_cast<int>(((2LL * x + 1) * sourceWidth) / (2LL * width));
            target.setPixel(x, y, in[sx]);
        }
    }
}

}  // namespace quorlane

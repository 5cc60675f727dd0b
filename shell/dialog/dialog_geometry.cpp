#include "shell/dialog/dialog_geometry.h"

#include <cmath>

#include "common/decimal_number.h"

namespace quorlane {

int roundHalfEven(double value) {
    // Sizes and shades: always far inside an int.
    return roundToInt32(value, Rounding::HalvesToEven).value_or(0);
}

int backgroundShade(int y, int height) {
    const double k = height / 3.142;
    return roundHalfEven(std::fabs(std::sin(y / k)) * 220.0);
}

std::vector<IntPoint> tileOrigins(int panelWidth, int panelHeight, int tileWidth, int tileHeight) {
    std::vector<IntPoint> origins;
    if (tileWidth <= 0 || tileHeight <= 0) return origins;  // would never pass the edges
    int x = 0;
    int y = 0;
    for (;;) {
        origins.push_back({x, y});
        if (y > panelHeight) {
            if (x > panelWidth) break;
            x += tileWidth;
            y = 0;
        } else {
            y += tileHeight;
        }
    }
    return origins;
}

PreviewSize previewSize(int pictureWidth, int pictureHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0) return {80, 80};
    if (pictureWidth > pictureHeight) {
        return {80.0, pictureHeight * 80.0 / pictureWidth};
    }
    return {pictureWidth * 80.0 / pictureHeight, 80.0};
}

IntPoint windowPlacement(int screenWidth, int screenHeight, int outerWidth, int outerHeight) {
    // Integer division truncates toward zero, also for a window larger than the screen.
    return {(screenWidth - outerWidth) / 2, (screenHeight - outerHeight) / 3};
}

}  // namespace quorlane

#pragma once
// The numbers behind the dialog's drawing and placement, without any drawing: the gradient's
// shade per row, where the tile strip is laid on a panel, the size of the picture preview and
// where the window goes on the screen.
#include <vector>

namespace quorlane {

struct IntPoint {
    int x = 0;
    int y = 0;
    bool operator==(const IntPoint&) const = default;
};

struct PreviewSize {
    double width = 0;  // outer size of the preview box, before rounding
    double height = 0;
};

// Nearest whole number, halves to the even neighbour.
int roundHalfEven(double value);

// The shade b of row y of a surface `height` rows high: the row's colour is (b+30, b, b+30).
// The curve runs over a little more than half a sine period (3.142, not pi).
int backgroundShade(int y, int height);

// The top-left corners of the tile strip's copies on a panel of the given outer size: columns
// from the left, each filled from the top, up to and including the first corner strictly past
// the panel's edge.
std::vector<IntPoint> tileOrigins(int panelWidth, int panelHeight, int tileWidth, int tileHeight);

// The preview of a picture: 80 across for a wide picture, else 80 high, keeping its shape.
PreviewSize previewSize(int pictureWidth, int pictureHeight);

// The window's outer top-left: centred across, at one third of the free height.
IntPoint windowPlacement(int screenWidth, int screenHeight, int outerWidth, int outerHeight);

}  // namespace quorlane

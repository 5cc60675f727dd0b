// Draws the settings dialog's artwork: the tile strip that covers the two panels, the title
// plate under each panel's title and the two option marks. Run it after changing a look and
// commit the pictures it writes:
//   dialog_art_generator shell/assets/dialog
// Everything is computed from fixed numbers (no randomness from the clock), so a run always
// writes the same pixels.
#include <QColor>
#include <QImage>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

// A small integer hash: the same grain on every run and every machine.
uint32_t grain(uint32_t x, uint32_t y) {
    uint32_t h = x * 374761393u + y * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

int clampByte(double v) { return v < 0 ? 0 : v > 255 ? 255 : static_cast<int>(std::lround(v)); }

// 563 x 21, 24-bit: a light grey-lavender stone with soft veins running across.
QImage tileStrip() {
    QImage image(563, 21, QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double vein = std::sin(x * 0.045 + 2.6 * std::sin(y * 0.31 + x * 0.012));
            const double shade = -9.0 * vein * vein + (static_cast<int>(grain(x, y) % 9) - 4);
            image.setPixelColor(
                x, y,
                QColor(clampByte(208 + shade), clampByte(204 + shade), clampByte(222 + shade)));
        }
    }
    return image;
}

bool insideRounded(int x, int y, int width, int height, int radius) {
    auto outsideCorner = [radius](int dx, int dy) { return dx * dx + dy * dy > radius * radius; };
    const double cx = x + 0.5, cy = y + 0.5;
    const int left = radius, right = width - radius, top = radius, bottom = height - radius;
    // The corner's offsets from the pixel's centre, half a pixel out: whole numbers.
    if (cx < left && cy < top) return !outsideCorner(x - left, y - top);
    if (cx > right && cy < top) return !outsideCorner(x + 1 - right, y - top);
    if (cx < left && cy > bottom) return !outsideCorner(x - left, y + 1 - bottom);
    if (cx > right && cy > bottom) return !outsideCorner(x + 1 - right, y + 1 - bottom);
    return true;
}

// 95 x 22: a light grey bar with rounded corners and a darker outline; outside the corners the
// panel shows through.
QImage titlePlate() {
    const int w = 95, h = 22, r = 5;
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!insideRounded(x, y, w, h, r)) continue;
            const bool edge =
                !insideRounded(x - 1, y, w, h, r) || !insideRounded(x + 1, y, w, h, r) ||
                !insideRounded(x, y - 1, w, h, r) || !insideRounded(x, y + 1, w, h, r) || x == 0 ||
                y == 0 || x == w - 1 || y == h - 1;
            QColor colour = edge ? QColor(112, 108, 124) : QColor(230, 229, 234);
            if (!edge && y <= 2) colour = QColor(246, 246, 248);  // a little light on top
            if (!edge && y >= h - 3) colour = QColor(212, 210, 218);
            image.setPixelColor(x, y, colour);
        }
    }
    return image;
}

bool isMarkOutline(int x, int y) { return x == 0 || y == 0 || x == 11 || y == 11; }

// The row and column just inside the outline catch the light.
bool isMarkInnerEdge(int x, int y) { return x == 1 || y == 1; }

// A filled blue square, lighter towards the top, with a dark outline.
QColor onMarkColour(int x, int y) {
    if (isMarkOutline(x, y)) return QColor(20, 28, 72);
    if (isMarkInnerEdge(x, y)) return QColor(96, 140, 240);
    return QColor(40, 84, 200 + (11 - y) * 4);
}

// An empty light square.
QColor offMarkColour(int x, int y) {
    if (isMarkOutline(x, y)) return QColor(96, 94, 112);
    if (isMarkInnerEdge(x, y)) return QColor(214, 212, 222);
    return QColor(244, 244, 248);
}

// 12 x 12 marks: On is a filled blue square with a dark outline, Off an empty light square.
QImage mark(bool on) {
    QImage image(12, 12, QImage::Format_RGB888);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x)
            image.setPixelColor(x, y, on ? onMarkColour(x, y) : offMarkColour(x, y));
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool ok = tileStrip().save(folder + "/tile_strip.png") &&
                    titlePlate().save(folder + "/title_plate.png") &&
                    mark(true).save(folder + "/mark_on.png") &&
                    mark(false).save(folder + "/mark_off.png");
    if (!ok) std::fprintf(stderr, "could not write the pictures into %s\n", argv[1]);
    return ok ? 0 : 1;
}

#include "shell/controls/face_geometry.h"

#include <cmath>
#include <limits>

namespace quorlane {

namespace {

constexpr int kCorner = 60;       // twips: four pixels
constexpr int kImageWidth = 960;  // twips of a face picture
constexpr int kImageHeight = 375;
constexpr int kOrigin = 1;  // the one-twip offset of the left and top pieces

bool fitsTwips(int32_t value) { return value <= std::numeric_limits<int16_t>::max(); }

int toPixels(int twips) {
    return twips >= 0 ? twips / kTwipsPerPixel : -((-twips) / kTwipsPerPixel);
}

PixelRect rect(int x, int y, int width, int height) {
    return {toPixels(x), toPixels(y), toPixels(width), toPixels(height)};
}

}  // namespace

void FaceGeometry::resize(int widthPixels, int heightPixels) {
    const int32_t w = widthPixels * kTwipsPerPixel;
    const int32_t h = heightPixels * kTwipsPerPixel;
    // A size that fits gives differences that fit; one that does not leaves them all as they were.
    if (fitsTwips(w)) {
        edgeWidth_ = static_cast<int16_t>(w - 2 * kCorner);
        right_ = static_cast<int16_t>(w - kCorner);
    }
    if (fitsTwips(h)) {
        edgeHeight_ = static_cast<int16_t>(h - 2 * kCorner);
        bottom_ = static_cast<int16_t>(h - kCorner);
    }
}

std::array<FramePiece, 8> FaceGeometry::pieces() const {
    const int sourceRight = kImageWidth - kCorner;    // 900
    const int sourceBottom = kImageHeight - kCorner;  // 315
    const int sourceEdgeWidth = kImageWidth - 2 * kCorner;
    const int sourceEdgeHeight = kImageHeight - 2 * kCorner;
    return {{
        {rect(0, 0, kCorner, kCorner), rect(kOrigin, kOrigin, kCorner, kCorner)},
        {rect(kCorner, kOrigin, sourceEdgeWidth, kCorner),
         rect(kCorner, kOrigin, edgeWidth_, kCorner)},
        {rect(sourceRight, kOrigin, kCorner, kCorner), rect(right_, kOrigin, kCorner, kCorner)},
        {rect(sourceRight, kCorner, kCorner, sourceEdgeHeight),
         rect(right_, kCorner, kCorner, edgeHeight_)},
        {rect(sourceRight, sourceBottom, kCorner, kCorner),
         rect(right_, bottom_, kCorner, kCorner)},
        {rect(kCorner, sourceBottom, sourceEdgeWidth, kCorner),
         rect(kCorner, bottom_, edgeWidth_, kCorner)},
        {rect(0, sourceBottom, kCorner, kCorner), rect(kOrigin, bottom_, kCorner, kCorner)},
        {rect(kOrigin, kCorner, kCorner, sourceEdgeHeight),
         rect(kOrigin, kCorner, kCorner, edgeHeight_)},
    }};
}

double FaceGeometry::captionTopTwips(int heightPixels, int labelHeightTwips) {
    return (heightPixels * kTwipsPerPixel - labelHeightTwips - 20) / 2.0;
}

int FaceGeometry::captionTopPixels(int heightPixels, int labelHeightTwips) {
    return static_cast<int>(
        std::lround(captionTopTwips(heightPixels, labelHeightTwips) / kTwipsPerPixel));
}

uint32_t gradientRowColour(int row, int lastRow, uint32_t first, uint32_t last) {
    uint32_t colour = 0;
    for (int shift : {16, 8, 0}) {
        // Channels are carried as the 8-bit value times 256, as the fill routine takes them.
        const int32_t from = static_cast<int32_t>((first >> shift) & 0xFF) << 8;
        const int32_t to = static_cast<int32_t>((last >> shift) & 0xFF) << 8;
        const int32_t value = lastRow > 0 ? from + (to - from) * row / lastRow : from;
        colour |= static_cast<uint32_t>(value >> 8) << shift;
    }
    return colour;
}

}  // namespace quorlane

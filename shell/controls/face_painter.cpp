#include "shell/controls/face_painter.h"

#include <algorithm>

namespace quorlane {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

// Copies a rectangle of the picture, stretching by dropping or repeating whole pixels (no
// smoothing: the frame keeps its hard one-pixel lines). Parts outside the surface are cut.
void copyPiece(const PixelSurface& surface, const FacePixels& face, const FramePiece& piece) {
    const PixelRect& from = piece.source;
    const PixelRect& to = piece.destination;
    if (to.width <= 0 || to.height <= 0 || from.width <= 0 || from.height <= 0) return;
    const int x0 = std::max(to.x, 0);
    const int x1 = std::min(to.x + to.width, surface.width);
    const int y0 = std::max(to.y, 0);
    const int y1 = std::min(to.y + to.height, surface.height);
    for (int y = y0; y < y1; ++y) {
        const int sy = from.y + (y - to.y) * from.height / to.height;
        const uint32_t* src = face.bits + sy * face.stride;
        uint32_t* dst = surface.bits + y * surface.stride;
        for (int x = x0; x < x1; ++x) dst[x] = src[from.x + (x - to.x) * from.width / to.width];
    }
}

}  // namespace

void FacePainter::paint(const PixelSurface& surface, const FacePixels& face, ButtonState state) {
    if (state == ButtonState::Normal || state == ButtonState::Selected) gradientReversed_ = false;
    if (state == ButtonState::HighLight) gradientReversed_ = true;
    geometry_.resize(surface.width, surface.height);
    if (surface.bits == nullptr || surface.width <= 0 || surface.height <= 0) return;

    for (int y = 0; y < surface.height; ++y)
        std::fill_n(surface.bits + y * surface.stride, surface.width, kOpaque | kFaceBackground);
    fillBackground(surface);
    if (face.bits == nullptr) return;
    for (const FramePiece& piece : geometry_.pieces()) copyPiece(surface, face, piece);
}

void FacePainter::fillBackground(const PixelSurface& surface) const {
    const uint32_t top = gradientReversed_ ? kGradientDark : kGradientLight;
    const uint32_t bottom = gradientReversed_ ? kGradientLight : kGradientDark;
    const int lastRow = surface.height - 1;
    for (int y = 0; y < surface.height; ++y) {
        std::fill_n(surface.bits + y * surface.stride, surface.width,
                    kOpaque | gradientRowColour(y, lastRow, top, bottom));
    }
}

}  // namespace quorlane

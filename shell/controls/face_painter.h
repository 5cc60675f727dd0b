#pragma once
// Paints a whole button face into a pixel surface: background gradient, then the frame cut
// from one face picture. Plain pixels so the result is exact and needs no window system.
#include <cstdint>

#include "shell/controls/button_state.h"
#include "shell/controls/face_geometry.h"

namespace quorlane {

// Pixels 0xAARRGGBB with alpha 0xFF (the layout of an opaque 32-bit image), rows top-down.
struct PixelSurface {
    uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;  // pixels from one row to the next
};

// A stored face picture, kFaceImageWidth x kFaceImageHeight, in the same layout.
struct FacePixels {
    const uint32_t* bits = nullptr;
    int stride = 0;
};

class FacePainter {
public:
    // Paints `face` over the whole surface. The state only chooses the gradient's direction:
    // hover puts the white at the bottom, rest and focus at the top, and the combined state
    // keeps whichever way the previous face had it.
    void paint(const PixelSurface& surface, const FacePixels& face, ButtonState state);

    bool gradientReversed() const { return gradientReversed_; }
    const FaceGeometry& geometry() const { return geometry_; }

private:
    void fillBackground(const PixelSurface& surface) const;

    bool gradientReversed_ = false;
    FaceGeometry geometry_;
};

// What the surface is cleared to before the gradient; the frame covers it in the end.
constexpr uint32_t kFaceBackground = 0xECE9D8;

}  // namespace quorlane

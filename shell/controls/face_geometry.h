#pragma once
// Where the eight frame pieces of a button face go, and the colours of its background.
// Sizes are worked out in twips as 16-bit values, as the control's own units, and land on
// whole pixels at 15 twips a pixel.
#include <array>
#include <cstdint>

namespace quorlane {

constexpr int kTwipsPerPixel = 15;
constexpr int kFaceImageWidth = 64;  // pixels of each stored face picture
constexpr int kFaceImageHeight = 25;
constexpr int kCaptionHeightTwips = 195;

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};

// One piece of the frame: a rectangle of the face picture and where it lands on the button.
struct FramePiece {
    PixelRect source;
    PixelRect destination;
};

class FaceGeometry {
public:
    // Recomputes the pieces for a button of this many pixels. A value that leaves the 16-bit
    // twip range keeps what the previous size gave, so an absurdly large button shows the
    // last frame that fitted rather than a garbled one.
    void resize(int widthPixels, int heightPixels);

    // In the order they are copied: clockwise from the top-left corner, each corner followed
    // by the edge after it.
    std::array<FramePiece, 8> pieces() const;

    // Top of the caption label in twips: centred, a little above the middle.
    static double captionTopTwips(int heightPixels, int labelHeightTwips = kCaptionHeightTwips);
    static int captionTopPixels(int heightPixels, int labelHeightTwips = kCaptionHeightTwips);

    int16_t edgeWidthTwips() const { return edgeWidth_; }
    int16_t edgeHeightTwips() const { return edgeHeight_; }

private:
    int16_t edgeWidth_ = 0;   // W - 120
    int16_t edgeHeight_ = 0;  // H - 120
    int16_t right_ = 0;       // W - 60
    int16_t bottom_ = 0;      // H - 60
};

// Background colours as 0xRRGGBB: white at one end, a cool grey at the other.
constexpr uint32_t kGradientLight = 0xFFFFFF;
constexpr uint32_t kGradientDark = 0xC6C5D7;

// The colour of one row of a vertical gradient from `first` (row 0) to `last` (row lastRow),
// worked out on 16-bit channels and moving linearly row by row.
uint32_t gradientRowColour(int row, int lastRow, uint32_t first, uint32_t last);

}  // namespace quorlane

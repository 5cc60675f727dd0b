#pragma once
// A user's picture file decoded for the show's picture area. Decoding needs the image
// libraries, which a show on the desktop's own picture never loads; the show asks for it
// through a function.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quorlane {

struct DecodedPicture {
    int width = 0;
    int height = 0;
    // Blue, green, red and one unused byte in memory order, top row first, no padding.
    std::vector<uint32_t> pixels;
    int32_t dotsPerMeterX = 0;
    int32_t dotsPerMeterY = 0;
};

// True with `picture` filled when the file could be read as a picture.
using PictureDecoder = std::function<bool(const std::string& path, DecodedPicture& picture)>;
// True with `picture` filled with the still built into the program (the one the preview shows).
using BuiltInPictureDecoder = std::function<bool(DecodedPicture& picture)>;

// True with `picture` filled with the desktop as it is now; false when it cannot be had (the
// capture has then said why).
using CompositorCapture = std::function<bool(DecodedPicture& picture)>;

}  // namespace quorlane

#pragma once
// The picture area's image saved as a desktop image file, for a renderer to read once at
// its start: never seen half written, owner-only, and a failure told in one line.
#include <cstdint>
#include <string>

#include "shell/show/bmp_encoder.h"

namespace quorlane {

// An empty file name means no private folder could be had for it.
bool saveDesktopImageFile(const std::string& file, const XrgbPixels& picture, int32_t dotsPerMeterX,
                          int32_t dotsPerMeterY);

}  // namespace quorlane

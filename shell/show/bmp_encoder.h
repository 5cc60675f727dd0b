#pragma once
// The desktop image file's bytes: an uncompressed 24-bit BMP with the 40-byte info header,
// written straight from 32-bit pixels. A generic image writer would first load every
// image-format plugin the system has; the show cannot wait for that.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "shell/core/xrgb_pixels.h"

namespace quorlane {

// 3780 dots per metre is the 96 dots per inch the shell takes every screen to have, the
// density a screen capture has always been saved with.
inline constexpr int32_t kScreenDotsPerMeter = 3780;

// The whole file: headers, then the rows bottom up, each padded with zeros to 4 bytes.
// Empty when there are no pixels or the file would not fit the format's 32-bit sizes.
std::string bmpFileOf(const XrgbPixels& pixels, int32_t dotsPerMeterX = kScreenDotsPerMeter,
                      int32_t dotsPerMeterY = kScreenDotsPerMeter);

// The same bytes handed to `write` in order, in pieces of a few hundred kilobytes, so that a
// screen's file is never held whole in memory. False, with nothing written, when bmpFileOf
// would be empty; false as soon as `write` is.
bool writeBmpFile(const XrgbPixels& pixels, int32_t dotsPerMeterX, int32_t dotsPerMeterY,
                  const std::function<bool(std::string_view)>& write);

}  // namespace quorlane

#pragma once
// A view of 32-bit pixels as the screen capture hands them up and the desktop image file's
// encoder takes them: each blue, green, red and one unused byte in memory order (the X
// server's 24-bit TrueColor layout on little-endian machines), top row first, rows stride
// bytes apart. The pixels belong to whoever made the view.
#include <cstddef>
#include <cstdint>

namespace quorlane {

struct XrgbPixels {
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    const uint8_t* data = nullptr;
};

}  // namespace quorlane

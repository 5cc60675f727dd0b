#pragma once
// The bitmap header every GDI copy of ours reads or writes with: 32-bit pixels, 0x00RRGGBB,
// top row first, no padding.
#include <windows.h>

namespace quorlane {

inline BITMAPINFO topDownBitmapInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace quorlane

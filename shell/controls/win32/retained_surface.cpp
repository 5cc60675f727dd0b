#include "shell/controls/win32/retained_surface.h"

#include "common/win32/top_down_bitmap.h"

namespace quorlane {

void RetainedSurface::resize(int width, int height, uint32_t fill) {
    release();
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO info = topDownBitmapInfo(width_ > 0 ? width_ : 1, height_ > 0 ? height_ : 1);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    if (bitmap_ != nullptr) previous_ = SelectObject(dc_, bitmap_);
    clear(fill);
}

void RetainedSurface::clear(uint32_t colour) {
    if (bits_ == nullptr) return;
    for (size_t i = 0; i < size_t(width_) * size_t(height_); ++i) bits_[i] = colour;
}

void RetainedSurface::copyTo(HDC target, int x, int y, int width, int height) const {
    if (bits_ != nullptr) GdiFlush();
    if (dc_ != nullptr) BitBlt(target, 0, 0, width, height, dc_, x, y, SRCCOPY);
}

void RetainedSurface::draw(const ResourcePicture& picture, int x, int y) {
    for (int py = 0; py < picture.height; ++py) {
        const int sy = y + py;
        if (sy < 0 || sy >= height_) continue;
        for (int px = 0; px < picture.width; ++px) {
            const int sx = x + px;
            const uint32_t pixel = picture.pixels[size_t(py) * size_t(picture.width) + size_t(px)];
            if (sx < 0 || sx >= width_ || (pixel >> 24) < 0x80) continue;
            row(sy)[sx] = pixel & 0xFFFFFF;
        }
    }
}

void RetainedSurface::release() {
    if (dc_ != nullptr) {
        if (previous_ != nullptr) SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    previous_ = nullptr;
    bits_ = nullptr;
}

}  // namespace quorlane

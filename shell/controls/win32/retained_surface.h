#pragma once
// A retained picture that a window's painting copies from: what is drawn into it stays until it
// is cleared or resized. 0x00RRGGBB pixels, top row first, in a GDI memory device context.
// Windows only. Supports: drawing a picture whose pixels are either shown or not (alpha cut at
// half). Does not: blending, drawing through GDI without GdiFlush before the pixels are read.
#include <windows.h>

#include <cstdint>

#include "shell/controls/win32/resource_picture.h"

namespace quorlane {

class RetainedSurface {
public:
    RetainedSurface() = default;
    RetainedSurface(const RetainedSurface&) = delete;
    RetainedSurface& operator=(const RetainedSurface&) = delete;
    ~RetainedSurface() { release(); }

    void resize(int width, int height, uint32_t fill);
    void clear(uint32_t colour);
    uint32_t* row(int y) { return bits_ + size_t(y) * size_t(width_); }
    int width() const { return width_; }
    int height() const { return height_; }
    HDC dc() const { return dc_; }
    // Copies the rectangle at (x, y) of the surface onto (0, 0) of the target.
    void copyTo(HDC target, int x, int y, int width, int height) const;
    // Copies a picture onto the surface at (x, y); pixels less than half opaque let it show
    // through.
    void draw(const ResourcePicture& picture, int x, int y);

private:
    void release();

    int width_ = 0;
    int height_ = 0;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
};

}  // namespace quorlane

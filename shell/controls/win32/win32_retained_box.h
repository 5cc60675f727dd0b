#pragma once
// A box with a sunken two-pixel edge whose inner area shows a retained surface: the settings
// dialog's panels and its picture preview. Child windows placed on it count from its inner
// area, as Windows' client area does. Windows only.
// Supports: a new outer size (the surface follows, cleared), clearing to the box's ground.
// Does not: input, focus.
#include <windows.h>

#include <cstdint>

#include "shell/controls/win32/retained_surface.h"
#include "shell/platform/win32/win32_window.h"

namespace quorlane {

class Win32RetainedBox : public Win32Window {
public:
    // `outer` in the parent's client area; `ground` the colour of an empty box, 0x00RRGGBB.
    Win32RetainedBox(HWND parent, uint32_t ground, RECT outer);

    RetainedSurface& retained() { return retained_; }
    const RetainedSurface& retained() const { return retained_; }
    void setOuterSize(int width, int height);
    void clear();
    int outerWidth() const { return outerWidth_; }
    int outerHeight() const { return outerHeight_; }

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    uint32_t ground_;
    RetainedSurface retained_;
    int outerWidth_ = 0;
    int outerHeight_ = 0;
};

}  // namespace quorlane

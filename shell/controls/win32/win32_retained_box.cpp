#include "shell/controls/win32/win32_retained_box.h"

namespace quorlane {

Win32RetainedBox::Win32RetainedBox(HWND parent, uint32_t ground, RECT outer) : ground_(ground) {
    Win32WindowClass boxClass;
    boxClass.name = "QuorlaneBox";
    boxClass.cursor = LoadCursor(nullptr, IDC_ARROW);
    create(boxClass, WS_EX_CLIENTEDGE, "",
           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, outer, parent);
    setOuterSize(outer.right - outer.left, outer.bottom - outer.top);
}

void Win32RetainedBox::setOuterSize(int width, int height) {
    outerWidth_ = width;
    outerHeight_ = height;
    SetWindowPos(window(), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Inside the sunken edge, as thick as Windows draws it.
    RECT inner{};
    GetClientRect(window(), &inner);
    retained_.resize(inner.right, inner.bottom, ground_);
    InvalidateRect(window(), nullptr, FALSE);
}

void Win32RetainedBox::clear() {
    retained_.clear(ground_);
    InvalidateRect(window(), nullptr, FALSE);
}

LRESULT Win32RetainedBox::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window(), &paint);
        retained_.copyTo(dc, 0, 0, retained_.width(), retained_.height());
        EndPaint(window(), &paint);
        return 0;
    }
    return Win32Window::handle(message, wParam, lParam);
}

}  // namespace quorlane

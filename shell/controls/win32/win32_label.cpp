#include "shell/controls/win32/win32_label.h"

#include "common/win32/top_down_bitmap.h"
#include "common/win32/wide_text.h"

namespace quorlane {

Win32Label::Win32Label(HWND parent, const RetainedSurface& beneath, RECT at, Look look,
                       HCURSOR cursor)
    : beneath_(beneath), x_(at.left), y_(at.top), look_(look) {
    Win32WindowClass labelClass;
    labelClass.name = "QuorlaneLabel";
    labelClass.cursor = LoadCursor(nullptr, IDC_ARROW);
    create(labelClass, 0, "", WS_CHILD | WS_VISIBLE, at, parent);
    cursor_ = cursor;
}

void Win32Label::setText(const std::string& text) {
    text_ = wideFromUtf8(text);
    InvalidateRect(window(), nullptr, FALSE);
}

void Win32Label::setPicture(const ResourcePicture* picture) {
    picture_ = picture;
    InvalidateRect(window(), nullptr, FALSE);
}

int Win32Label::textWidth(const std::string& text) const { return textSize(wideFromUtf8(text)).cx; }

void Win32Label::fitText() {
    const SIZE size = textSize();
    SetWindowPos(window(), nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Label::widenToText() {
    const SIZE size = textSize();
    RECT area;
    GetClientRect(window(), &area);
    if (size.cx > area.right)
        SetWindowPos(window(), nullptr, 0, 0, size.cx, area.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Win32Label::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: paint(); return 0;
    case WM_SETCURSOR:
        if (cursor_ != nullptr) {
            SetCursor(cursor_);
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        leftHeld_ = true;
        SetCapture(window());
        if (pressed) pressed();
        return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (pressed) pressed();
        return 0;
    case WM_LBUTTONUP: {
        if (GetCapture() == window()) ReleaseCapture();
        if (!leftHeld_) return 0;
        leftHeld_ = false;
        RECT area;
        GetClientRect(window(), &area);
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (PtInRect(&area, at) && clicked) clicked();
        return 0;
    }
    default: break;
    }
    return Win32Window::handle(message, wParam, lParam);
}

SIZE Win32Label::textSize(const std::wstring& text) const {
    HDC dc = GetDC(window());
    HGDIOBJ previous = SelectObject(dc, look_.font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(window(), dc);
    return size;
}

void Win32Label::paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window(), &paint);
    RECT area;
    GetClientRect(window(), &area);
    // Drawn off screen first, so a change never flickers through the parent's picture.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, area.right, area.bottom);
    HGDIOBJ previousBitmap = SelectObject(memory, bitmap);
    beneath_.copyTo(memory, x_, y_, area.right, area.bottom);
    if (picture_ != nullptr && !picture_->empty()) {
        BITMAPINFO info = topDownBitmapInfo(picture_->width, picture_->height);
        SetDIBitsToDevice(memory, 0, 0, DWORD(picture_->width), DWORD(picture_->height), 0, 0, 0,
                          UINT(picture_->height), picture_->pixels.data(), &info, DIB_RGB_COLORS);
    }
    if (look_.framed) {
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(64, 64, 64));
        HGDIOBJ previousPen = SelectObject(memory, pen);
        HGDIOBJ previousBrush = SelectObject(memory, GetStockObject(NULL_BRUSH));
        Rectangle(memory, 0, 0, area.right, area.bottom);
        SelectObject(memory, previousBrush);
        SelectObject(memory, previousPen);
        DeleteObject(pen);
    }
    if (!text_.empty()) {
        HGDIOBJ previousFont = SelectObject(memory, look_.font);
        SetBkMode(memory, TRANSPARENT);
        SetTextColor(memory, look_.colour);
        RECT text = area;
        if (look_.framed) InflateRect(&text, -2, -2);
        DrawTextW(memory, text_.c_str(), int(text_.size()), &text, look_.format);
        SelectObject(memory, previousFont);
    }
    BitBlt(dc, 0, 0, area.right, area.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(window(), &paint);
}

}  // namespace quorlane

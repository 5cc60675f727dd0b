#pragma once
// A caption, an option mark or a path box of the settings dialog as a Win32 child window: drawn
// over what its parent's retained surface shows beneath it, so it looks transparent; tells of a
// press of any mouse button and of a completed left click. Windows only.
// Supports: text in a GDI font and colour with DrawText's format, a picture at its top left, a
// single dark frame, a cursor of its own, fitting its size to its text.
// Does not: focus, keys, a surface beneath it that moves.
#include <windows.h>

#include <functional>
#include <string>

#include "shell/controls/win32/resource_picture.h"
#include "shell/controls/win32/retained_surface.h"
#include "shell/platform/win32/win32_window.h"

namespace quorlane {

class Win32Label : public Win32Window {
public:
    struct Look {
        HFONT font = nullptr;
        COLORREF colour = RGB(0, 0, 0);
        UINT format = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
        bool framed = false;  // the path box's single dark line
    };
    // `beneath` is the parent's surface, which must outlive the label; `at` the label's place
    // on it. A null cursor leaves the class's arrow.
    Win32Label(HWND parent, const RetainedSurface& beneath, RECT at, Look look,
               HCURSOR cursor = nullptr);

    std::function<void()> pressed;
    std::function<void()> clicked;

    void setText(const std::string& text);
    // The picture must outlive the label, or be replaced first; null for none.
    void setPicture(const ResourcePicture* picture);
    // How wide the text would be in the label's font.
    int textWidth(const std::string& text) const;
    // Grows or shrinks the label to its text, as a label sized to its caption does.
    void fitText();
    // The font here may run wider than the design's: never cut a caption short.
    void widenToText();

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    SIZE textSize() const { return textSize(text_); }
    SIZE textSize(const std::wstring& text) const;
    void paint();

    const RetainedSurface& beneath_;
    int x_;
    int y_;
    Look look_;
    HCURSOR cursor_ = nullptr;
    std::wstring text_;
    const ResourcePicture* picture_ = nullptr;
    bool leftHeld_ = false;
};

}  // namespace quorlane

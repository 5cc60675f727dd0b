#pragma once
// A Win32 window with a C++ object behind it: the window's class is registered once, the object
// is stored with the window when it is made (WM_NCCREATE) and every message after that goes to
// the object's handle(). Windows only.
// Supports: any class look (style, cursor, icon, background brush), top-level and child windows,
// a window its parent or anyone else destroys (the object then forgets it).
// Does not: the messages before WM_NCCREATE (Windows' defaults answer them), a class shared by
// windows of other procedures.
#include <windows.h>

namespace quorlane {

struct Win32WindowClass {
    const char* name = nullptr;
    UINT style = 0;
    HCURSOR cursor = nullptr;
    HICON icon = nullptr;
    HBRUSH background = nullptr;
};

class Win32Window {
public:
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;
    // Destroys the window, if it is still there, without telling the object.
    virtual ~Win32Window();

    HWND window() const { return window_; }

protected:
    Win32Window() = default;

    // Registers the class (again is harmless) and makes the window at `area` of its parent, or
    // of the screen; false when Windows made none.
    bool create(const Win32WindowClass& windowClass, DWORD exStyle, const char* title, DWORD style,
                RECT area, HWND parent);
    // The window goes now, its last messages no longer reaching the object.
    void destroy();
    // What the window does with a message; Windows' default unless a window says otherwise.
    virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};

// The window's dots per inch: its monitor's for a program that declares itself aware of them
// (its manifest), as Windows 10 tells; the screen's before that; never under 96.
int windowDpi(HWND window);

}  // namespace quorlane

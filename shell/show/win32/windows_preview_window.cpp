#include "shell/show/win32/windows_preview_window.h"

#include <windows.h>

#include <algorithm>

#include "common/win32/top_down_bitmap.h"
#include "shell/core/decoded_picture.h"
#include "shell/platform/win32/win32_picture_file.h"
#include "shell/platform/win32/win32_window.h"

namespace quorlane {

namespace {

constexpr char kTitle[] = "Preview Window";
// The still's resource number (shell/assets/preview_still.rc.in).
constexpr int kPreviewStillResource = 101;
// How often the preview looks whether its host is still there, should the host's end not
// reach it as its child's destruction.
constexpr UINT kHostWatchMilliseconds = 250;
constexpr UINT_PTR kHostWatchTimer = 1;

// The still, stretched over the whole of the preview window; the window watches its host.
class PreviewWindow : public Win32Window {
public:
    explicit PreviewWindow(HWND host) : host_(host) {
        loadStill();  // without it the preview is the window's light grey
        Win32WindowClass previewClass;
        previewClass.name = "Vantorel_R";
        previewClass.cursor = LoadCursor(nullptr, IDC_ARROW);
        previewClass.background = CreateSolidBrush(RGB(192, 192, 192));
        create(previewClass, 0, kTitle, WS_POPUP, {0, 0, 0, 0}, nullptr);
    }
    ~PreviewWindow() override {
        destroy();
        if (memory_ != nullptr) DeleteDC(memory_);
        if (bitmap_ != nullptr) DeleteObject(bitmap_);
    }

    // Makes the window a child of the host, at its top left with its size.
    void embed() {
        const HWND window = this->window();
        SetWindowLongA(window, GWL_STYLE,
                       (GetWindowLongA(window, GWL_STYLE) & ~WS_POPUP) | WS_CHILD);
        SetParent(window, host_);
        RECT host;
        GetClientRect(host_, &host);
        SetWindowPos(window, nullptr, 0, 0, host.right, host.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(window, SW_SHOWNA);
        SetTimer(window, kHostWatchTimer, kHostWatchMilliseconds, nullptr);
    }

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_PAINT: paint(); return 0;
        case WM_TIMER:
            if (wParam == kHostWatchTimer && !IsWindow(host_)) DestroyWindow(window());
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);  // the process ends with its one window
            return 0;
        default: return Win32Window::handle(message, wParam, lParam);
        }
    }

private:
    // The still built into the program, into a memory device context.
    void loadStill();
    void paint() {
        PAINTSTRUCT paint;
        const HDC target = BeginPaint(window(), &paint);
        RECT area;
        GetClientRect(window(), &area);
        if (memory_ != nullptr) {
            // Stretched to the whole area, whatever its shape.
            SetStretchBltMode(target, HALFTONE);
            SetBrushOrgEx(target, 0, 0, nullptr);
            StretchBlt(target, 0, 0, area.right, area.bottom, memory_, 0, 0, width_, height_,
                       SRCCOPY);
        }
        EndPaint(window(), &paint);
    }

    HWND host_;
    HDC memory_ = nullptr;  // holds the still, for StretchBlt
    HBITMAP bitmap_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace

bool decodePreviewStill(DecodedPicture& still) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(kPreviewStillResource), RT_RCDATA);
    const HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    return decodePictureBytes(bytes, found != nullptr ? SizeofResource(instance, found) : 0, still);
}

void PreviewWindow::loadStill() {
    DecodedPicture still;
    if (!decodePreviewStill(still)) return;
    BITMAPINFO info = topDownBitmapInfo(still.width, still.height);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap_ == nullptr) return;
    std::copy(still.pixels.begin(), still.pixels.end(), static_cast<uint32_t*>(bits));
    memory_ = CreateCompatibleDC(nullptr);
    SelectObject(memory_, bitmap_);
    width_ = still.width;
    height_ = still.height;
}

int runWindowsPreview(std::intptr_t host) {
    PreviewWindow preview(reinterpret_cast<HWND>(host));
    if (preview.window() == nullptr) return 1;
    preview.embed();
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}

}  // namespace quorlane

#include "shell/show/win32/windows_preview_window.h"

#include <windows.h>

#include <algorithm>

#include "common/win32/top_down_bitmap.h"
#include "shell/core/decoded_picture.h"
#include "shell/platform/win32/win32_picture_file.h"

namespace quorlane {

namespace {

constexpr char kClassName[] = "Vantorel_R";
constexpr char kTitle[] = "Preview Window";
// The still's resource number (shell/assets/preview_still.rc.in).
constexpr int kPreviewStillResource = 101;
// How often the preview looks whether its host is still there, should the host's end not
// reach it as its child's destruction.
constexpr UINT kHostWatchMilliseconds = 250;
constexpr UINT_PTR kHostWatchTimer = 1;

struct Preview {
    HWND host = nullptr;
    HDC memory = nullptr;  // holds the still, for StretchBlt
    HBITMAP bitmap = nullptr;
    int width = 0, height = 0;
};

// The still built into the program, into a memory device context.
bool loadStill(Preview& preview) {
    DecodedPicture still;
    if (!decodePreviewStill(still)) return false;
    BITMAPINFO info = topDownBitmapInfo(still.width, still.height);
    void* bits = nullptr;
    preview.bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (preview.bitmap == nullptr) return false;
    std::copy(still.pixels.begin(), still.pixels.end(), static_cast<uint32_t*>(bits));
    preview.memory = CreateCompatibleDC(nullptr);
    SelectObject(preview.memory, preview.bitmap);
    preview.width = still.width;
    preview.height = still.height;
    return true;
}

}  // namespace

bool decodePreviewStill(DecodedPicture& still) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(kPreviewStillResource), RT_RCDATA);
    const HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    return decodePictureBytes(bytes, found != nullptr ? SizeofResource(instance, found) : 0, still);
}

namespace {

LRESULT CALLBACK previewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* preview = reinterpret_cast<Preview*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC target = BeginPaint(window, &paint);
        RECT area;
        GetClientRect(window, &area);
        if (preview != nullptr && preview->memory != nullptr) {
            // Stretched to the whole area, whatever its shape.
            SetStretchBltMode(target, HALFTONE);
            SetBrushOrgEx(target, 0, 0, nullptr);
            StretchBlt(target, 0, 0, area.right, area.bottom, preview->memory, 0, 0, preview->width,
                       preview->height, SRCCOPY);
        }
        EndPaint(window, &paint);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kHostWatchTimer && preview != nullptr && !IsWindow(preview->host)) {
            DestroyWindow(window);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);  // the process ends with its one window
        return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int runWindowsPreview(std::intptr_t hostHandle) {
    Preview preview;
    preview.host = reinterpret_cast<HWND>(hostHandle);
    loadStill(preview);  // without it the preview is the window's light grey

    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = previewProcedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = CreateSolidBrush(RGB(192, 192, 192));
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, kClassName, kTitle, WS_POPUP, 0, 0, 0, 0, nullptr,
                                        nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&preview));

    // A child of the host, at its top left with its size.
    SetWindowLongA(window, GWL_STYLE, (GetWindowLongA(window, GWL_STYLE) & ~WS_POPUP) | WS_CHILD);
    SetParent(window, preview.host);
    RECT host;
    GetClientRect(preview.host, &host);
    SetWindowPos(window, nullptr, 0, 0, host.right, host.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOWNA);
    SetTimer(window, kHostWatchTimer, kHostWatchMilliseconds, nullptr);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    if (preview.memory != nullptr) DeleteDC(preview.memory);
    if (preview.bitmap != nullptr) DeleteObject(preview.bitmap);
    return 0;
}

}  // namespace quorlane

#include "shell/platform/win32/win32_desktop.h"

#include <windows.h>

#include "common/file_path.h"
#include "common/win32/top_down_bitmap.h"
#include "common/win32/wide_text.h"

namespace quorlane {

bool topLevelWindowExists(const std::string& title) {
    return FindWindowA(nullptr, title.c_str()) != nullptr;
}

void bringBackWindow(const std::string& title) {
    HWND window = FindWindowA(nullptr, title.c_str());
    if (window == nullptr) return;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

bool isExistingWindow(std::intptr_t handle) {
    return handle != 0 && IsWindow(reinterpret_cast<HWND>(handle));
}

std::string runningProgramFolder() {
    std::wstring wide(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
        if (length == 0) return {};
        if (length < wide.size()) {
            wide.resize(length);
            break;
        }
        wide.resize(wide.size() * 2);
    }
    std::string folder = folderOfPath(utf8FromWide(wide));
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';  // a drive's root keeps its "\"
    return folder;
}

bool makeFolder(const std::string& folder) {
    if (folder.empty()) return false;
    const std::wstring wide = wideFromUtf8(folder);
    CreateDirectoryW(wide.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool claimDisplay() {
    // Held by the handle, which the process keeps until it ends; Windows then lets it go.
    const HANDLE mutex = CreateMutexA(nullptr, TRUE, "Local\\Quorlane.show");
    if (mutex == nullptr) return true;  // nothing to claim with: the title test still stands
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    return true;
}

void Win32Cursor::setCursorVisible(bool visible) { ShowCursor(visible ? TRUE : FALSE); }

ScreenSize primaryScreenSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::unique_ptr<DesktopCapture> DesktopCapture::grab(ScreenSize size) {
    if (size.width <= 0 || size.height <= 0) return nullptr;
    auto capture = std::unique_ptr<DesktopCapture>(new DesktopCapture);
    capture->width_ = size.width;
    capture->height_ = size.height;
    capture->pixels_.assign(static_cast<std::size_t>(size.width) * size.height, 0);

    const HWND desktop = GetDesktopWindow();
    const HDC screen = GetDC(desktop);
    if (screen == nullptr) return nullptr;
    const HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = topDownBitmapInfo(size.width, size.height);
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (memory != nullptr && bitmap != nullptr) {
        const HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, size.width, size.height, screen, 0, 0, SRCCOPY) != 0;
        GdiFlush();
        if (ok) {
            const auto* from = static_cast<const uint32_t*>(bits);
            capture->pixels_.assign(from, from + capture->pixels_.size());
        }
        SelectObject(memory, old);
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memory != nullptr) DeleteDC(memory);
    ReleaseDC(desktop, screen);
    if (!ok) return nullptr;
    return capture;
}

XrgbPixels DesktopCapture::pixels() const {
    return {width_, height_, static_cast<std::size_t>(width_) * 4,
            reinterpret_cast<const uint8_t*>(pixels_.data())};
}

}  // namespace quorlane

#include "tests/windows/wine_screen.h"

#include <cstring>
#include <thread>

#include "tests/pictures/bmp_writer.h"

namespace quorlane::testing {

bool waitFor(const std::function<bool()>& condition, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

Screen captureScreen() {
    Screen screen;
    screen.width = GetSystemMetrics(SM_CXSCREEN);
    screen.height = GetSystemMetrics(SM_CYSCREEN);
    HDC desktop = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(desktop);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = screen.width;
    info.bmiHeader.biHeight = -screen.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, screen.width, screen.height, desktop, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* first = static_cast<const uint32_t*>(bits);
        screen.pixels.assign(first, first + size_t(screen.width) * size_t(screen.height));
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, desktop);
    return screen;
}

void saveScreen(const Screen& screen, const std::string& folder, const std::string& name) {
    writeBmpFile(folder + "/" + name, screen.width, screen.height, [&](int x, int y) {
        const uint32_t p = screen.pixels[size_t(y) * screen.width + x];
        return Rgb{uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)};
    });
}

double share(const Screen& screen, const std::function<bool(int r, int g, int b)>& test) {
    if (screen.pixels.empty()) return 0.0;
    size_t count = 0;
    for (uint32_t p : screen.pixels)
        count += test(int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255));
    return double(count) / double(screen.pixels.size());
}

bool pictureColour(int r, int g, int b) { return g < 64 && (r > 96 || b > 96); }

void press(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

void type(const std::string& text) {
    // As characters, not keys: whatever the layout, with no shift to hold for ':' or '\\'.
    for (char c : text) {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wScan = input[1].ki.wScan = static_cast<WORD>(static_cast<unsigned char>(c));
        input[0].ki.dwFlags = KEYEVENTF_UNICODE;
        input[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
    }
}

namespace {

// Absolute positions count 0 to 65535 across the screen, to the pixel's centre.
INPUT absoluteMove(POINT at) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((at.x * 65536LL + 32768) / GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = static_cast<LONG>((at.y * 65536LL + 32768) / GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

}  // namespace

void moveTo(POINT at) {
    INPUT input = absoluteMove(at);
    SendInput(1, &input, sizeof(INPUT));
}

void clickAt(POINT at) {
    // A move onto the point first, and the press only once the pointer is there for every
    // program: Wine reports the new position a moment after the move, and a button that polls
    // for the pointer meanwhile takes it for gone, as a user's press dragged out would be.
    moveTo(at);
    waitFor([&] {
        POINT now{};
        return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
    });
    // The press and release carry the point too, as an X button event does, so they land
    // there whatever has moved the pointer since.
    INPUT input[2] = {absoluteMove(at), absoluteMove(at)};
    input[0].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

bool startProgram(const char* path, const char* arguments, PROCESS_INFORMATION& process) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    const char* name = std::strrchr(path, '/');
    std::string commandLine = std::string(name != nullptr ? name + 1 : path) + " " + arguments;
    return CreateProcessA(path, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process);
}

DWORD waitForExit(const PROCESS_INFORMATION& process) {
    DWORD code = STILL_ACTIVE;
    if (!waitFor([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }))
        return code;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
}

void endProcess(PROCESS_INFORMATION& process) {
    if (process.hProcess == nullptr) return;
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    process = {};
}

}  // namespace quorlane::testing

#include "renderer/platform/win32/wgl_full_screen.h"

#include <windows.h>
// windows.h first: the GL headers need its calling-convention macros.
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>

#include "common/window_titles.h"
#include "renderer/core/show.h"
#include "renderer/core/swap_interval.h"

namespace quorlane {

namespace {

// The window procedure takes no state of its own; the renderer makes exactly one window.
struct WindowState {
    HWND window = nullptr;
    HDC dc = nullptr;
    HGLRC context = nullptr;
    bool cursorHidden = false;
    Show* show = nullptr;  // once the show runs
};

WindowState& state() {
    static WindowState state;
    return state;
}

// The name the window class has always had.
constexpr char kWindowClass[] = "QuorlaneGlutWindow";

// Before the show runs there is nothing to let go of yet.
[[noreturn]] void endWith(int status) {
    if (state().show != nullptr) state().show->end(status);
    std::exit(status);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CHAR:
        if (state().show != nullptr) state().show->key(static_cast<unsigned char>(wParam));
        return 0;
    case WM_SIZE:
        // As GLUT's default reshape: the viewport is the whole window.
        if (state().context != nullptr) glViewport(0, 0, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT:
        ValidateRect(window, nullptr);  // the next frame paints it
        return 0;
    case WM_ERASEBKGND: return 1;  // every frame covers the whole window
    case WM_SETCURSOR:
        if (state().cursorHidden && LOWORD(lParam) == HTCLIENT) {
            SetCursor(nullptr);
            return TRUE;
        }
        break;
    case WM_DESTROY: endWith(0);  // as GLUT does when its window is closed
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool makeContext(WindowState& state) {
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 24;
    format.cDepthBits = 24;
    format.iLayerType = PFD_MAIN_PLANE;
    const int chosen = ChoosePixelFormat(state.dc, &format);
    if (chosen == 0 || !SetPixelFormat(state.dc, chosen, &format)) return false;
    state.context = wglCreateContext(state.dc);
    return state.context != nullptr && wglMakeCurrent(state.dc, state.context);
}

// No frame or caption: the drawing area is the whole monitor the window is on.
void coverMonitor(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    SetWindowLongPtrA(window, GWL_STYLE, (style & ~WS_OVERLAPPEDWINDOW) | WS_POPUP);
    const RECT& area = monitor.rcMonitor;
    SetWindowPos(window, HWND_TOP, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

}  // namespace

WglFullScreen::WglFullScreen(const WindowPlacement& placement) : placement_(placement) {}

bool WglFullScreen::open() {
    WindowState& window = state();
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;  // GL keeps one device context
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);

    // The size asked for is the drawing area's; the frame comes on top.
    constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    RECT frame{0, 0, placement_.width, placement_.height};
    AdjustWindowRect(&frame, kStyle, FALSE);
    window.window = CreateWindowExA(0, kWindowClass, kRendererWindowTitle, kStyle, placement_.x,
                                    placement_.y, frame.right - frame.left,
                                    frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (window.window != nullptr) window.dc = GetDC(window.window);
    if (window.window == nullptr || !makeContext(window)) {
        std::fprintf(stderr, "Quorlane.dll: cannot open a window to draw into with OpenGL\n");
        return false;
    }
    ShowWindow(window.window, SW_SHOW);
    SetForegroundWindow(window.window);  // the keys, Escape above all, come to this window
    requestVsync();
    window.cursorHidden = true;
    ShowCursor(FALSE);  // one step of the display count
    return true;
}

void WglFullScreen::run(Show& show) {
    WindowState& window = state();
    window.show = &show;
    coverMonitor(window.window);
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) show.end(static_cast<int>(message.wParam));
            TranslateMessage(&message);  // key presses become the WM_CHAR the show is given
            DispatchMessageA(&message);
        }
        // Frames back to back; motion is scaled by the frame step.
        show.frame();
        SwapBuffers(window.dc);
    }
}

}  // namespace quorlane

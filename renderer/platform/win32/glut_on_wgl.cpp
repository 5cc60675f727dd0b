#include "renderer/platform/win32/glut_on_wgl.h"

#include <cstdlib>

namespace {

// GLUT's model is one process-wide window state; the renderer makes exactly one window.
struct GlutState {
    unsigned int displayMode = GLUT_RGB;
    int width = 300;  // GLUT's defaults until the program sets its own
    int height = 300;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    HDC dc = nullptr;
    HGLRC context = nullptr;
    void (*keyboard)(unsigned char, int, int) = nullptr;
    void (*display)() = nullptr;
    bool redisplay = false;
    bool cursorHidden = false;
};

GlutState& glut() {
    static GlutState state;
    return state;
}

constexpr char kWindowClass[] = "QuorlaneGlutWindow";

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    GlutState& state = glut();
    switch (message) {
    case WM_CHAR:
        if (state.keyboard != nullptr) {
            POINT mouse{};
            GetCursorPos(&mouse);
            ScreenToClient(window, &mouse);
            state.keyboard(static_cast<unsigned char>(wParam), mouse.x, mouse.y);
        }
        return 0;
    case WM_SIZE:
        // GLUT's default reshape: the viewport is the whole window.
        if (state.context != nullptr) glViewport(0, 0, LOWORD(lParam), HIWORD(lParam));
        state.redisplay = true;
        return 0;
    case WM_PAINT:
        ValidateRect(window, nullptr);
        state.redisplay = true;
        return 0;
    case WM_ERASEBKGND: return 1;  // every frame covers the whole window
    case WM_SETCURSOR:
        if (state.cursorHidden && LOWORD(lParam) == HTCLIENT) {
            SetCursor(nullptr);
            return TRUE;
        }
        break;
    case WM_DESTROY: std::exit(0);  // as GLUT does when its window is closed
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool makeContext(GlutState& state) {
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    if (state.displayMode & GLUT_DOUBLE) format.dwFlags |= PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 24;
    format.cDepthBits = (state.displayMode & GLUT_DEPTH) ? 24 : 0;
    format.iLayerType = PFD_MAIN_PLANE;
    const int chosen = ChoosePixelFormat(state.dc, &format);
    if (chosen == 0 || !SetPixelFormat(state.dc, chosen, &format)) return false;
    state.context = wglCreateContext(state.dc);
    return state.context != nullptr && wglMakeCurrent(state.dc, state.context);
}

}  // namespace

void glutInit(int*, char**) {
    GlutState& state = glut();
    state.instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;  // GL keeps one device context
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = state.instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);
}

void glutInitDisplayMode(unsigned int mode) { glut().displayMode = mode; }

void glutInitWindowSize(int width, int height) {
    glut().width = width;
    glut().height = height;
}

void glutInitWindowPosition(int x, int y) {
    glut().x = x;
    glut().y = y;
}

int glutCreateWindow(const char* title) {
    GlutState& state = glut();
    // The size asked for is the drawing area's; the frame comes on top.
    constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    RECT frame{0, 0, state.width, state.height};
    AdjustWindowRect(&frame, kStyle, FALSE);
    state.window =
        CreateWindowExA(0, kWindowClass, title, kStyle, state.x, state.y, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, nullptr, state.instance, nullptr);
    if (state.window == nullptr) return 0;
    state.dc = GetDC(state.window);
    if (!makeContext(state)) return 0;
    ShowWindow(state.window, SW_SHOW);
    SetForegroundWindow(state.window);  // the keys, Escape above all, come to this window
    state.redisplay = true;
    return 1;
}

void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) { glut().keyboard = callback; }

void glutDisplayFunc(void (*callback)()) { glut().display = callback; }

void glutSetCursor(int cursor) {
    GlutState& state = glut();
    const bool hide = cursor == GLUT_CURSOR_NONE;
    if (hide == state.cursorHidden) return;
    state.cursorHidden = hide;
    ShowCursor(hide ? FALSE : TRUE);  // one step of the display count each way
}

void glutFullScreen() {
    GlutState& state = glut();
    if (state.window == nullptr) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(state.window, MONITOR_DEFAULTTOPRIMARY), &monitor))
        return;
    // No frame or caption: the drawing area is the whole monitor.
    const LONG_PTR style = GetWindowLongPtrA(state.window, GWL_STYLE);
    SetWindowLongPtrA(state.window, GWL_STYLE, (style & ~WS_OVERLAPPEDWINDOW) | WS_POPUP);
    const RECT& area = monitor.rcMonitor;
    SetWindowPos(state.window, HWND_TOP, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

void glutSwapBuffers() {
    GlutState& state = glut();
    if (state.dc != nullptr) SwapBuffers(state.dc);
}

void glutPostRedisplay() { glut().redisplay = true; }

void glutMainLoop() {
    GlutState& state = glut();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) std::exit(static_cast<int>(message.wParam));
            TranslateMessage(&message);  // key presses become the WM_CHAR GLUT reports
            DispatchMessageA(&message);
        }
        if (state.redisplay && state.display != nullptr) {
            state.redisplay = false;
            state.display();
        } else {
            WaitMessage();
        }
    }
}

#include "shell/controls/win32/win32_command.h"

#include <cmath>

#include "common/win32/top_down_bitmap.h"
#include "common/win32/wide_text.h"
#include "shell/controls/face_geometry.h"

namespace quorlane {

namespace {

constexpr UINT_PTR kHoverTimer = 1;

const char* const kFaceResources[kFaceImageCount] = {
    "FACE_NORMAL",  "FACE_HIGHLIGHT", "FACE_HIGHLIGHT_SELECT",
    "FACE_PRESSED", "FACE_DISABLE",   "FACE_SELECTED",
};

// Where the caption's face is missing (Windows without Japanese fonts, Wine), the first of these
// that is installed stands in: each has the Japanese glyphs and the Latin ones.
const wchar_t* const kFaceStandIns[] = {L"IPAPGothic", L"Meiryo UI", L"MS UI Gothic",
                                        L"Yu Gothic UI"};

int CALLBACK noteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool faceInstalled(const std::wstring& face) {
    if (face.empty() || face.size() >= LF_FACESIZE) return false;
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    face.copy(wanted.lfFaceName, face.size());
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &wanted, noteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

std::wstring installedFace(const std::string& face) {
    const std::wstring wanted = wideFromUtf8(face);
    if (faceInstalled(wanted)) return wanted;
    for (const wchar_t* standIn : kFaceStandIns) {
        if (faceInstalled(standIn)) return standIn;
    }
    return wanted;
}

COLORREF fromBgr(uint32_t colour) { return static_cast<COLORREF>(colour & 0x00FFFFFF); }

}  // namespace

FontDescription commandCaptionFont() {
    return {"ＭＳ Ｐゴシック", 9.75, 400, false, false, false, kShiftJisCharset};
}

HFONT createGdiFont(const FontDescription& font, int dpi) {
    // Points to pixels at the window's dots per inch (the design's twips assume 96).
    const int height = -static_cast<int>(std::lround(font.pointSize * dpi / 72.0));
    return CreateFontW(height, 0, 0, 0, font.weight, font.italic, font.underline,
                       font.strikethrough, static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       installedFace(font.faceName).c_str());
}

Win32Command::Win32Command(HWND parent, const std::string& caption, RECT area,
                           std::function<void()> onClick, int dpi)
    : behaviour_(std::make_unique<CommandBehaviour>(static_cast<CommandView&>(*this))),
      onClick_(std::move(onClick)),
      dpi_(dpi) {
    for (int i = 0; i < kFaceImageCount; ++i)
        faces_[size_t(i)] = loadResourcePicture(kFaceResources[i]);
    Win32WindowClass commandClass;
    commandClass.name = "Command";
    commandClass.style = CS_DBLCLKS;
    commandClass.cursor = LoadCursor(nullptr, IDC_ARROW);
    create(commandClass, 0, "", WS_CHILD | WS_VISIBLE, area, parent);
    setSize(area.right - area.left, area.bottom - area.top);

    PropertySet placed;
    placed.set("Caption", std::string("Command"));
    placed.set("Font", commandCaptionFont());
    behaviour_->readProperties(placed, commandCaptionFont());
    behaviour_->sizeChanged();
    behaviour_->setCaption(caption);
}

Win32Command::~Win32Command() {
    destroy();  // before the font it draws with
    if (gdiFont_ != nullptr) DeleteObject(gdiFont_);
}

LRESULT Win32Command::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: paint(); return 0;
    case WM_ERASEBKGND: return 1;  // the face covers everything
    case WM_SIZE:
        setSize(LOWORD(lParam), HIWORD(lParam));
        behaviour_->sizeChanged();
        return 0;
    case WM_SETFOCUS: behaviour_->focusArrives(); return 0;
    case WM_KILLFOCUS: behaviour_->focusLeaves(); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: mouseDown(MouseButton::Left); return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: mouseDown(MouseButton::Other); return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        // Presses grab the pointer, as a push button's do, so the release comes here.
        if (GetCapture() == window()) ReleaseCapture();
        behaviour_->buttonUp(message == WM_LBUTTONUP ? MouseButton::Left : MouseButton::Other);
        return 0;
    case WM_MOUSEMOVE: behaviour_->pointerMoves(); return 0;
    case WM_TIMER:
        // Asking where the pointer is would be wasted on a button without hover.
        if (wParam == kHoverTimer && behaviour_->hoverCanEnd())
            behaviour_->hoverTick(pointerOverButton());
        return 0;
    case WM_GETDLGCODE: return DLGC_BUTTON;
    default: return Win32Window::handle(message, wParam, lParam);
    }
}

void Win32Command::mouseDown(MouseButton button) {
    // Focus first, so that a click on an unfocused button goes through its focus face.
    if (button == MouseButton::Left && GetFocus() != window()) SetFocus(window());
    SetCapture(window());
    behaviour_->buttonDown(button);
}

bool Win32Command::pointerOverButton() const {
    POINT at{};
    GetCursorPos(&at);
    return WindowFromPoint(at) == window();
}

void Win32Command::setSize(int width, int height) {
    width_ = width;
    height_ = height;
    faceWidth_ = MulDiv(width, 96, dpi_);
    faceHeight_ = MulDiv(height, 96, dpi_);
}

void Win32Command::paintFace(FaceImage face) {
    currentFace_ = face;
    if (faceWidth_ <= 0 || faceHeight_ <= 0) return;
    surface_.assign(size_t(faceWidth_) * size_t(faceHeight_), 0);
    const ResourcePicture& picture = faces_[static_cast<size_t>(face)];
    const FacePixels pixels{picture.empty() ? nullptr : picture.pixels.data(), picture.width};
    painter_.paint({surface_.data(), faceWidth_, faceHeight_, faceWidth_}, pixels,
                   behaviour_->state());
    InvalidateRect(window(), nullptr, FALSE);
}

void Win32Command::paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window(), &paint);
    if (opaque_ && !surface_.empty()) {
        BITMAPINFO info = topDownBitmapInfo(faceWidth_, faceHeight_);
        // Whole pixels repeated, never blended.
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, 0, 0, width_, height_, 0, 0, faceWidth_, faceHeight_, surface_.data(),
                      &info, DIB_RGB_COLORS, SRCCOPY);
    }
    HGDIOBJ previous =
        SelectObject(dc, gdiFont_ != nullptr ? gdiFont_ : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    const std::wstring text = wideFromUtf8(caption_);
    const int top = scaledToDpi(FaceGeometry::captionTopPixels(faceHeight_), dpi_);
    RECT label{0, top, width_, top + scaledToDpi(kCaptionHeightTwips / kTwipsPerPixel, dpi_)};
    const UINT format = DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;
    if (captionEnabled_) {
        SetTextColor(dc, fromBgr(colour_));
        DrawTextW(dc, text.c_str(), int(text.size()), &label, format);
    } else {
        // Grey letters over a white copy one pixel down and right: readable on the pale face.
        RECT emboss = label;
        OffsetRect(&emboss, scaledToDpi(1, dpi_), scaledToDpi(1, dpi_));
        SetTextColor(dc, RGB(255, 255, 255));
        DrawTextW(dc, text.c_str(), int(text.size()), &emboss, format);
        SetTextColor(dc, RGB(128, 128, 128));
        DrawTextW(dc, text.c_str(), int(text.size()), &label, format);
    }
    SelectObject(dc, previous);
    EndPaint(window(), &paint);
}

void Win32Command::setCaptionEnabled(bool enabled) {
    captionEnabled_ = enabled;
    InvalidateRect(window(), nullptr, FALSE);
}

void Win32Command::setCaptionText(const std::string& text) {
    caption_ = text;
    InvalidateRect(window(), nullptr, FALSE);
}

void Win32Command::setCaptionFont(const FontDescription& font) {
    font_ = font;
    if (gdiFont_ != nullptr) DeleteObject(gdiFont_);
    gdiFont_ = createGdiFont(font, dpi_);
    InvalidateRect(window(), nullptr, FALSE);
}

void Win32Command::setCaptionColour(uint32_t colour) {
    colour_ = colour;
    InvalidateRect(window(), nullptr, FALSE);
}

void Win32Command::setFaceOpaque(bool opaque) {
    opaque_ = opaque;
    InvalidateRect(window(), nullptr, TRUE);
}

void Win32Command::setTakesFocus(bool takes) {
    if (window() == nullptr) return;
    const LONG_PTR style = GetWindowLongPtrA(window(), GWL_STYLE);
    SetWindowLongPtrA(window(), GWL_STYLE,
                      takes ? style | WS_TABSTOP : style & ~LONG_PTR(WS_TABSTOP));
}

void Win32Command::startHoverTimer(int intervalMs) {
    SetTimer(window(), kHoverTimer, UINT(intervalMs), nullptr);
}

void Win32Command::raiseClick() {
    if (onClick_) onClick_();
}

}  // namespace quorlane

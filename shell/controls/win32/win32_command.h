#pragma once
// The shell's push button as a Win32 child window: the same behaviour and face painting as the
// Qt widget, fed from the window's mouse, focus and timer messages and drawn with GDI. Windows
// only; the face pictures come from the program's resources (resource_picture.h).
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/controls/command_behaviour.h"
#include "shell/controls/face_painter.h"
#include "shell/controls/win32/resource_picture.h"
#include "shell/platform/win32/win32_window.h"

namespace quorlane {

// The dialog's caption font: "ＭＳ Ｐゴシック" 9.75 pt, Shift-JIS.
FontDescription commandCaptionFont();
// A GDI font for a stored description at this many dots per inch; the caller deletes it.
HFONT createGdiFont(const FontDescription& font, int dpi = 96);
// A length of the design's 96 dots per inch at this many.
inline int scaledToDpi(int length, int dpi) { return MulDiv(length, dpi, 96); }

class Win32Command : public Win32Window, public CommandView {
public:
    // Creates the child window at `area` of the parent's client area (in pixels at `dpi`), loaded
    // as placed: enabled and used, with the given caption and the dialog's font. Above 96 dots
    // per inch the face is painted at the design's size and its pixels repeated (there is no
    // larger art); the caption is drawn at the real size, sharp.
    Win32Command(HWND parent, const std::string& caption, RECT area, std::function<void()> onClick,
                 int dpi = 96);
    ~Win32Command() override;
    Win32Command(const Win32Command&) = delete;
    Win32Command& operator=(const Win32Command&) = delete;

    CommandBehaviour& behaviour() { return *behaviour_; }
    FaceImage currentFace() const { return currentFace_; }

    void initialize() { behaviour_->initialize(); }
    void setButtonEnabled(bool enabled) { behaviour_->setEnabled(enabled); }
    // The window above the button went, or its dialog became active again.
    void windowsAboveChanged() { behaviour_->windowsAboveChanged(pointerOverButton()); }

    // CommandView
    void paintFace(FaceImage face) override;
    void setCaptionEnabled(bool enabled) override;
    std::string captionText() const override { return caption_; }
    void setCaptionText(const std::string& text) override;
    FontDescription captionFont() const override { return font_; }
    void setCaptionFont(const FontDescription& font) override;
    uint32_t captionColour() const override { return colour_; }
    void setCaptionColour(uint32_t colour) override;
    void setFaceOpaque(bool opaque) override;
    void setTakesFocus(bool takes) override;
    void startHoverTimer(int intervalMs) override;
    void raiseClick() override;
    void markPropertyChanged(const char*) override {}

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void paint();
    bool pointerOverButton() const;
    void mouseDown(MouseButton button);
    void setSize(int width, int height);

    std::unique_ptr<CommandBehaviour> behaviour_;
    std::function<void()> onClick_;
    std::array<ResourcePicture, kFaceImageCount> faces_;
    FacePainter painter_;
    FaceImage currentFace_ = FaceImage::Normal;
    std::vector<uint32_t> surface_;  // the face at the design's size
    int dpi_ = 96;
    int width_ = 0;  // the window's size
    int height_ = 0;
    int faceWidth_ = 0;  // the face's size at 96 dots per inch
    int faceHeight_ = 0;
    std::string caption_;
    FontDescription font_;
    HFONT gdiFont_ = nullptr;
    uint32_t colour_ = 0;
    bool captionEnabled_ = true;
    bool opaque_ = true;
    bool tracking_ = false;  // the window asked to hear when the pointer leaves
};

}  // namespace quorlane

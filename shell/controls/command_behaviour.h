#pragma once
// What the shell's push button does: which face shows as hover, focus and presses come and
// go, when it reports a click, and its properties with their stored form. Plain C++: the
// window layer feeds it events and carries out what it asks of a CommandView.
#include <cstdint>
#include <string>

#include "shell/controls/button_state.h"
#include "shell/controls/property_set.h"

namespace quorlane {

// The button's window as the behaviour sees it: its face, its caption label, its hover timer.
class CommandView {
public:
    virtual ~CommandView() = default;
    virtual void paintFace(FaceImage face) = 0;
    virtual void setCaptionEnabled(bool enabled) = 0;
    virtual std::string captionText() const = 0;
    virtual void setCaptionText(const std::string& text) = 0;
    virtual FontDescription captionFont() const = 0;
    virtual void setCaptionFont(const FontDescription& font) = 0;
    virtual uint32_t captionColour() const = 0;  // 0x00BBGGRR
    virtual void setCaptionColour(uint32_t colour) = 0;
    virtual void setFaceOpaque(bool opaque) = 0;
    // Whether Tab may move the keyboard focus onto the button.
    virtual void setTakesFocus(bool takes) = 0;
    virtual void startHoverTimer(int intervalMs) = 0;
    virtual void raiseClick() = 0;
    // The stored property set no longer matches this property.
    virtual void markPropertyChanged(const char* name) = 0;
};

enum class MouseButton : uint8_t { Left, Other };

constexpr int kHoverIntervalMs = 100;
constexpr uint8_t kFaceVisible = 255;

class CommandBehaviour {
public:
    // A button just created, before any stored properties are read: not initialised,
    // disabled until its first use, timer stopped.
    explicit CommandBehaviour(CommandView& view) : view_(view) {}

    // Events from the window.
    void initialize();
    void focusArrives();
    void focusLeaves();
    void buttonDown(MouseButton button);
    void buttonUp(MouseButton button);
    void pointerMoves();
    // The windows above the button changed (one above it closed, or its host window became
    // active): a pointer that now rests on the button has arrived there as if it had moved.
    void windowsAboveChanged(bool pointerOverButton);
    // One hover poll: whether the window under the pointer is the button's own.
    void hoverTick(bool pointerOverButton);
    // Whether a poll can change anything: only an enabled button with hover can lose it.
    // Lets the window skip asking where the pointer is on most ticks.
    bool hoverCanEnd() const;
    void sizeChanged();

    // Properties. Reading some of them repaints, as the button always has.
    bool enabled();
    void setEnabled(bool enabled);
    std::string caption() const { return view_.captionText(); }
    void setCaption(const std::string& caption);
    uint32_t fontColour();
    void setFontColour(uint32_t colour);
    uint8_t visible();
    void setVisible(uint8_t visible);

    // The stored form. Absent keys read as their defaults, the font's being the host's;
    // values equal to their defaults are left out when writing.
    void readProperties(const PropertySet& stored, const FontDescription& ambientFont);
    PropertySet writeProperties(const FontDescription& ambientFont);

    // Inspection without side effects.
    ButtonState state() const { return state_; }
    bool enabledValue() const { return enabled_; }
    bool mouseHeld() const { return mouseHeld_; }
    uint8_t firstRun() const { return firstRun_; }
    bool faceOpaque() const { return opaque_; }

private:
    void leaveHover();
    void applyEnabledLook();
    void refreshFace();
    bool trySetFontColour(uint32_t colour);

    CommandView& view_;
    ButtonState state_ = ButtonState::NotInitialised;
    bool enabled_ = false;
    bool mouseHeld_ = false;
    uint8_t firstRun_ = 0;
    bool opaque_ = true;
};

}  // namespace quorlane

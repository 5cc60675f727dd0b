#include "shell/controls/command_behaviour.h"

#include <limits>
#include <optional>
#include <string>

namespace quorlane {

namespace {

const char* const kDefaultCaption = "Command1";

bool isColour(int64_t value) { return value >= 0 && value <= 0x00FFFFFF; }

// Stored integers come back as whatever the host kept; booleans may have been kept as numbers.
const int32_t* storedInteger(const PropertyValue* value) {
    return value ? std::get_if<int32_t>(value) : nullptr;
}

// What each stored key gives: its default when absent, nothing (the current value stays) when
// it holds the wrong kind or a value out of range.

std::optional<bool> storedEnabled(const PropertyValue* value) {
    if (!value) return true;
    if (const bool* flag = std::get_if<bool>(value)) return *flag;
    if (const int32_t* number = std::get_if<int32_t>(value)) return *number != 0;
    return std::nullopt;
}

std::optional<std::string> storedCaption(const PropertyValue* value) {
    if (!value) return kDefaultCaption;
    if (const std::string* text = std::get_if<std::string>(value)) return *text;
    return std::nullopt;
}

std::optional<FontDescription> storedFont(const PropertyValue* value,
                                          const FontDescription& ambientFont) {
    if (!value) return ambientFont;
    if (const FontDescription* font = std::get_if<FontDescription>(value)) return *font;
    return std::nullopt;
}

std::optional<uint8_t> storedFirstRun(const PropertyValue* value) {
    if (!value) return 1;
    const int32_t* number = storedInteger(value);
    if (number && *number >= 0 && *number <= std::numeric_limits<uint8_t>::max())
        return static_cast<uint8_t>(*number);
    return std::nullopt;
}

// Any integer: whether it is a colour is decided where the colour is set.
std::optional<uint32_t> storedFontColour(const PropertyValue* value) {
    if (!value) return 0;
    if (const int32_t* number = storedInteger(value)) return static_cast<uint32_t>(*number);
    return std::nullopt;
}

// Whether the face is opaque.
std::optional<bool> storedVisible(const PropertyValue* value) {
    if (!value) return true;
    const int32_t* number = storedInteger(value);
    if (number && (*number == 0 || *number == 1)) return *number == 1;
    return std::nullopt;
}

}  // namespace

void CommandBehaviour::initialize() {
    state_ = ButtonState::Normal;
    view_.startHoverTimer(kHoverIntervalMs);
}

void CommandBehaviour::focusArrives() {
    if (!enabled_) return;
    if (state_ == ButtonState::HighLight) {
        state_ = ButtonState::HighLightSelect;
        view_.paintFace(FaceImage::Pressed);
    } else {
        state_ = ButtonState::Selected;
        view_.paintFace(FaceImage::Selected);
    }
}

void CommandBehaviour::focusLeaves() {
    if (!enabled_ || state_ == ButtonState::Normal) return;
    state_ = ButtonState::Normal;
    view_.paintFace(FaceImage::Normal);
}

void CommandBehaviour::buttonDown(MouseButton button) {
    if (!enabled_ || button != MouseButton::Left) return;
    mouseHeld_ = true;
    view_.paintFace(FaceImage::Pressed);
}

void CommandBehaviour::buttonUp(MouseButton button) {
    if (!enabled_) return;
    if (button == MouseButton::Left) {
        mouseHeld_ = false;
        if (state_ == ButtonState::HighLight) view_.paintFace(FaceImage::Normal);
        if (state_ == ButtonState::HighLightSelect) view_.paintFace(FaceImage::HighLightSelect);
    }
    // A release that left the button unfocused-and-hovered, or focused-and-hovered, counts;
    // one whose pointer was found outside while held (focus without hover) does not.
    if (state_ != ButtonState::Selected) view_.raiseClick();
}

void CommandBehaviour::pointerMoves() {
    if (!enabled_) return;
    if (state_ == ButtonState::Normal) {
        state_ = ButtonState::HighLight;
        view_.paintFace(FaceImage::HighLight);
    }
    // A button still held after the pointer left stays Selected until it is released.
    if (state_ == ButtonState::Selected && !mouseHeld_) {
        state_ = ButtonState::HighLightSelect;
        view_.paintFace(FaceImage::HighLightSelect);
    }
}

void CommandBehaviour::windowsAboveChanged(bool pointerOverButton) {
    // Without this, a button whose chooser closed under a resting pointer stays in focus
    // without hover, and its next click would be taken for a press dragged out and back.
    if (pointerOverButton) pointerMoves();
}

void CommandBehaviour::hoverTick(bool pointerOverButton) {
    if (!pointerOverButton) leaveHover();
}

bool CommandBehaviour::hoverCanEnd() const {
    return enabled_ && (state_ == ButtonState::HighLight || state_ == ButtonState::HighLightSelect);
}

void CommandBehaviour::sizeChanged() { applyEnabledLook(); }

void CommandBehaviour::leaveHover() {
    if (!enabled_) return;
    if (state_ == ButtonState::HighLight) {
        state_ = ButtonState::Normal;
        view_.paintFace(FaceImage::Normal);
    } else if (state_ == ButtonState::HighLightSelect) {
        state_ = ButtonState::Selected;
        view_.paintFace(FaceImage::Selected);
    }
}

void CommandBehaviour::applyEnabledLook() {
    // A disabled button ignores focus, so Tab passes it by instead of resting on it unseen.
    view_.setTakesFocus(enabled_);
    if (enabled_) {
        view_.paintFace(FaceImage::Normal);
        view_.setCaptionEnabled(true);
    } else {
        view_.paintFace(FaceImage::Disable);
        view_.setCaptionEnabled(false);
    }
}

void CommandBehaviour::refreshFace() {
    if (!enabled_) return;
    view_.setCaptionEnabled(true);
    // Until the button has been used once its caption is black whatever was set.
    if (firstRun_ == 0) view_.setCaptionColour(0);
    view_.paintFace(FaceImage::Normal);
}

bool CommandBehaviour::enabled() {
    if (firstRun_ == 0) {
        refreshFace();
        firstRun_ = 1;
        enabled_ = true;
    }
    const bool value = enabled_;
    applyEnabledLook();
    return value;
}

void CommandBehaviour::setEnabled(bool enabled) {
    enabled_ = enabled;
    view_.markPropertyChanged("Enabled");
    applyEnabledLook();
}

void CommandBehaviour::setCaption(const std::string& caption) {
    view_.setCaptionText(caption);
    view_.markPropertyChanged("Caption");
}

uint32_t CommandBehaviour::fontColour() {
    const uint32_t colour = view_.captionColour();
    refreshFace();
    return colour;
}

bool CommandBehaviour::trySetFontColour(uint32_t colour) {
    // Only plain RGB values are colours here; anything else is refused and changes nothing.
    if (!isColour(colour)) return false;
    view_.setCaptionColour(colour);
    return true;
}

void CommandBehaviour::setFontColour(uint32_t colour) {
    const bool set = trySetFontColour(colour);
    refreshFace();
    if (set) view_.markPropertyChanged("FontColour");
}

uint8_t CommandBehaviour::visible() {
    if (!opaque_) return 0;
    refreshFace();
    return kFaceVisible;
}

void CommandBehaviour::setVisible(uint8_t visible) {
    opaque_ = visible != 0;
    view_.setFaceOpaque(opaque_);
    if (opaque_) refreshFace();
    view_.markPropertyChanged("Visible");
}

void CommandBehaviour::readProperties(const PropertySet& stored,
                                      const FontDescription& ambientFont) {
    // Each key on its own: a value of the wrong kind is skipped and the rest still load.
    if (const std::optional<bool> enabled = storedEnabled(stored.find("Enabled")))
        enabled_ = *enabled;
    if (const std::optional<std::string> text = storedCaption(stored.find("Caption")))
        view_.setCaptionText(*text);
    if (const std::optional<FontDescription> font = storedFont(stored.find("Font"), ambientFont))
        view_.setCaptionFont(*font);
    if (const std::optional<uint8_t> firstRun = storedFirstRun(stored.find("FirstRun")))
        firstRun_ = *firstRun;
    if (const std::optional<uint32_t> colour = storedFontColour(stored.find("FontColour")))
        trySetFontColour(*colour);
    if (const std::optional<bool> opaque = storedVisible(stored.find("Visible"))) opaque_ = *opaque;
    view_.setFaceOpaque(opaque_);

    refreshFace();
}

PropertySet CommandBehaviour::writeProperties(const FontDescription& ambientFont) {
    PropertySet stored;
    if (!enabled_) stored.set("Enabled", false);
    if (const std::string text = view_.captionText(); text != kDefaultCaption)
        stored.set("Caption", text);
    if (firstRun_ != 1) stored.set("FirstRun", static_cast<int32_t>(firstRun_));
    if (const FontDescription font = view_.captionFont(); !(font == ambientFont))
        stored.set("Font", font);
    if (const uint32_t colour = view_.captionColour(); colour != 0)
        stored.set("FontColour", static_cast<int32_t>(colour));
    if (!opaque_) stored.set("Visible", int32_t{0});
    refreshFace();
    return stored;
}

}  // namespace quorlane

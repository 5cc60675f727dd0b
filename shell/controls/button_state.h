#pragma once
// The states of the shell's push button and the six pictures its face is cut from.
#include <cstdint>

namespace quorlane {

// Which of hover and focus the button has; NotInitialised until the host starts it.
enum class ButtonState : uint8_t {
    NotInitialised = 0,
    Normal = 1,           // no hover, no focus
    HighLight = 2,        // hover, no focus
    Selected = 3,         // focus, no hover
    HighLightSelect = 4,  // focus and hover
};

enum class FaceImage : uint8_t { Normal, HighLight, HighLightSelect, Pressed, Disable, Selected };

constexpr int kFaceImageCount = 6;

}  // namespace quorlane

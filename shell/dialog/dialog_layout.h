#pragma once
// Where each control of the settings dialog sits and what it says: one table in the design's
// pixels (96 dots per inch) that the Qt and the Win32 dialogs both build their windows from.
#include <cstdint>
#include <span>

namespace quorlane {

// The window's inside.
inline constexpr int kDialogClientWidth = 390;
inline constexpr int kDialogClientHeight = 299;

// Where a control lies. A panel makes its own area, on the window.
enum class DialogArea : std::uint8_t { Window, PicturePanel, MusicPanel };

enum class ControlKind : std::uint8_t {
    Panel,          // a box tiled with the strip, holding its area's controls
    PreviewBox,     // the chosen picture, shrunk, on plain ground
    TitlePlate,     // the artwork behind a panel's title
    Title,          // a panel's title, centred on its plate
    Text,           // a caption that does nothing
    ChoiceMark,     // the option mark of a choice
    ChoiceText,     // a choice's caption; pressing it chooses too
    Link,           // the product page's address, opened when clicked
    SaveButton,     // "設定"
    CancelButton,   // "ｷｬﾝｾﾙ"
    ChooserButton,  // "...": the file chooser of its area
    PathBox,        // the chosen file's path, framed and wrapped
    RepeatBox,      // the editable list of the CD track to repeat
};

struct DesignRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const DesignRect&) const = default;
};

struct DialogControl {
    ControlKind kind;
    DialogArea area;
    const char* name;      // as the window's tests find it; empty for none
    DesignRect rect;       // in its area's inside (a panel's: in the window's)
    int choice;            // a mark's or a choice text's number among its area's choices; else -1
    bool fitsText;         // grows or shrinks to its caption; any other caption only grows
    std::uint32_t colour;  // 0xRRGGBB: a box's ground, or a caption's letters
    const char* caption;   // UTF-8; empty for none
};

// Every control, each after the panel it lies on, in the order they are made (later ones lie
// above earlier ones where they overlap: a title above its plate).
std::span<const DialogControl> dialogControls();

}  // namespace quorlane

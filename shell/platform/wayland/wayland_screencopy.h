#pragma once
// The desktop's picture straight from a wlroots compositor (sway, Hyprland, river, Wayfire):
// the screen-copy protocol copies one output into shared memory, with no portal and no file.
//
// Supports: the output at the layout's origin (else the first the compositor names), shared
//   memory buffers in 32-bit XRGB, ARGB, XBGR or ABGR order, pictures stored upside down.
// Does not: DMA buffers, other pixel formats, several outputs in one picture, the cursor.
#include <chrono>
#include <string>

#include "shell/core/decoded_picture.h"
#include "shell/core/wayland_capture_outcome.h"

namespace quorlane {

// Copies the origin output of the compositor named by WAYLAND_DISPLAY into `picture`. When it
// cannot, `detail` says why in a few words.
ScreencopyOutcome copyWaylandOutput(DecodedPicture& picture, std::string& detail,
                                    std::chrono::milliseconds limit);

}  // namespace quorlane

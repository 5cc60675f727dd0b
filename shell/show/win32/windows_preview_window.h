#pragma once
// Vantorel_R on Windows: the preview, the built-in still drawn inside the small preview area of
// the screen saver settings (the host, another program's window). It runs no show: no capture,
// no settings, no music, no renderer.
#include <cstdint>

#include "shell/core/decoded_picture.h"

namespace quorlane {

// The still built into the program; a show with no picture of the desktop shows it too.
bool decodePreviewStill(DecodedPicture& still);

// Embeds the preview into the host window and runs until the host, or the preview inside
// it, is destroyed. Returns the exit code.
int runWindowsPreview(std::intptr_t host);

}  // namespace quorlane

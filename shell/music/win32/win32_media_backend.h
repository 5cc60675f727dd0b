#pragma once
// The music player's multimedia calls on Windows' own: mciSendStringA for the command strings,
// PlaySoundA for WAV. Command strings are kept in UTF-8 inside the shell and handed over in the
// system's ANSI code page; one that has no such form fails like any unplayable file.
//
// Supports: every command string the player sends, looping WAV.
// Does not: a device's notifications (the player polls).
#include <memory>

#include "shell/music/media_backend.h"

namespace quorlane {

std::unique_ptr<MediaBackend> createWin32MediaBackend();

}  // namespace quorlane

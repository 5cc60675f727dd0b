#pragma once
// Discs through libcdio: a drive, or a .cue image (with its .bin of the same base name).
//
// Supports: the default drive, a drive or .cue image named by QUORLANE_CDROM, audio tracks read
//   as sectors.
// Does not: hardware play on the drive, data tracks, CD-Text.
#include <memory>
#include <string>

#include "shell/music/cd_disc.h"

namespace quorlane {

// source empty: the default drive. Null when nothing usable is there.
std::unique_ptr<CdDisc> openCdioDisc(const std::string& source);

// The disc the shell plays: the drive or image named by QUORLANE_CDROM, else the default drive.
std::unique_ptr<CdDisc> openSystemCdDisc();

}  // namespace quorlane

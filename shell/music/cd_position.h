#pragma once
// CD positions as text in the tmsf time format: track, then minutes, seconds and frames
// within the track ("03:00:12:40").
#include <cstdint>
#include <string>

#include "shell/music/cd_disc.h"

namespace quorlane {

std::string formatCdPosition(int32_t lsn, const DiscToc& toc);

// Reads a position given in a command; 0 and lsn, or an error code. A position names a track
// of the disc, as "3" or "3:0:10:0"; every position lies within the disc.
uint32_t parseCdPosition(const std::string& text, const DiscToc& toc, int32_t& lsn);

}  // namespace quorlane

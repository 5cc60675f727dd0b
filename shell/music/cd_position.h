#pragma once
// CD positions as text in the three time formats: tmsf (track, then minutes, seconds and
// frames within the track: "03:00:12:40"), msf (from the start of the disc, lead-in
// included: "02:14:05") and milliseconds (the same origin as msf).
#include <cstdint>
#include <string>

#include "shell/music/cd_disc.h"
#include "shell/music/mci_command.h"

namespace quorlane {

std::string formatCdPosition(int32_t lsn, mci::TimeFormat format, const DiscToc& toc);

// A span of sectors (a track's or the disc's length): tmsf shows it as msf does.
std::string formatCdLength(int32_t sectors, mci::TimeFormat format);

// Reads a position given in a command; 0 and lsn, or an error code. A tmsf position names
// a track of the disc, as "3" or "3:0:10:0"; every position lies within the disc.
uint32_t parseCdPosition(const std::string& text, mci::TimeFormat format, const DiscToc& toc,
                         int32_t& lsn);

}  // namespace quorlane

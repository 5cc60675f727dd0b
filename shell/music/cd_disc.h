#pragma once
// An audio CD as the player sees it: its table of contents and raw audio sectors
// (2352 bytes: 588 frames of 16-bit little-endian stereo at 44.1 kHz, 75 a second).
// Sector numbers are logical: 0 is the first sector after the two-second lead-in.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace quorlane {

inline constexpr int kCdSectorBytes = 2352;
inline constexpr int kCdSectorsPerSecond = 75;
inline constexpr int kCdLeadInSectors = 150;

struct CdTrack {
    int number = 0;
    int32_t start = 0;  // first sector
    bool audio = true;  // data tracks are never played
};

struct DiscToc {
    std::vector<CdTrack> tracks;  // in disc order, numbers ascending
    int32_t leadOut = 0;          // first sector after the last track

    // The index of the track holding sector lsn (the last track at or past the lead-out,
    // the first before the first track); -1 when there are no tracks.
    int trackIndexAt(int32_t lsn) const;
    int trackIndexOf(int number) const;  // -1 when the disc has no such track
    int32_t trackEnd(int index) const;   // first sector after the track
};

class CdDisc {
public:
    virtual ~CdDisc() = default;
    virtual const DiscToc& toc() const = 0;
    // Reads count audio sectors from lsn into out (count * kCdSectorBytes bytes).
    // The range lies within the table of contents; false on a read error.
    virtual bool readAudio(int32_t lsn, int count, uint8_t* out) = 0;
};

// Opens the disc; may block for seconds on a real drive, so it runs off the shell's thread.
// Returns null when there is no drive, no disc or no usable table of contents.
using CdDiscOpener = std::function<std::unique_ptr<CdDisc>()>;

}  // namespace quorlane

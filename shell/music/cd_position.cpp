#include "shell/music/cd_position.h"

#include <charconv>
#include <cstdio>
#include <vector>

#include "shell/music/mci_errors.h"

namespace quorlane {

namespace {

std::string twoDigits(long value) {
    char text[24];
    std::snprintf(text, sizeof text, "%02ld", value);
    return text;
}

std::string msfText(int64_t sectors) {
    if (sectors < 0) sectors = 0;
    int64_t frames = sectors % kCdSectorsPerSecond;
    int64_t seconds = sectors / kCdSectorsPerSecond;
    return twoDigits(static_cast<long>(seconds / 60)) + ":" +
           twoDigits(static_cast<long>(seconds % 60)) + ":" + twoDigits(static_cast<long>(frames));
}

// Up to maxFields non-negative numbers separated by colons.
uint32_t splitFields(const std::string& text, std::size_t maxFields, std::vector<long>& fields) {
    std::size_t begin = 0;
    while (true) {
        std::size_t colon = text.find(':', begin);
        std::size_t end = colon == std::string::npos ? text.size() : colon;
        long value = 0;
        const char* first = text.data() + begin;
        const char* last = text.data() + end;
        auto [ptr, ec] = std::from_chars(first, last, value);
        if (first == last || ptr != last) return mci::kBadInteger;
        if (ec != std::errc() || value < 0 || value > 1000000000) return mci::kOutOfRange;
        fields.push_back(value);
        if (fields.size() > maxFields) return mci::kBadInteger;
        if (colon == std::string::npos) return mci::kOk;
        begin = colon + 1;
    }
}

}  // namespace

std::string formatCdPosition(int32_t lsn, const DiscToc& toc) {
    int index = toc.trackIndexAt(lsn);
    if (index < 0) return "00:00:00:00";
    const CdTrack& track = toc.tracks[index];
    return twoDigits(track.number) + ":" + msfText(lsn - track.start);
}

uint32_t parseCdPosition(const std::string& text, const DiscToc& toc, int32_t& lsn) {
    if (toc.tracks.empty()) return mci::kDeviceNotReady;
    std::vector<long> f;
    if (uint32_t code = splitFields(text, 4, f)) return code;
    f.resize(4, 0);
    int index = toc.trackIndexOf(static_cast<int>(f[0]));
    if (index < 0 || f[2] >= 60 || f[3] >= kCdSectorsPerSecond) return mci::kOutOfRange;
    const int64_t sector =
        toc.tracks[index].start + (int64_t{f[1]} * 60 + f[2]) * kCdSectorsPerSecond + f[3];
    if (sector < toc.tracks.front().start || sector > toc.leadOut) return mci::kOutOfRange;
    lsn = static_cast<int32_t>(sector);
    return mci::kOk;
}

}  // namespace quorlane

#include "shell/music/cd_position.h"

#include <charconv>
#include <cstdio>
#include <vector>

#include "shell/music/mci_errors.h"

namespace quorlane {

using mci::TimeFormat;

namespace {

std::string twoDigits(long value)
{
    char text[24];
    std::snprintf(text, sizeof text, "%02ld", value);
    return text;
}

std::string msfText(int64_t sectors)
{
    if (sectors < 0) sectors = 0;
    int64_t frames = sectors % kCdSectorsPerSecond;
    int64_t seconds = sectors / kCdSectorsPerSecond;
    return twoDigits(static_cast<long>(seconds / 60)) + ":" +
           twoDigits(static_cast<long>(seconds % 60)) + ":" + twoDigits(static_cast<long>(frames));
}

std::string millisecondsText(int64_t sectors)
{
    if (sectors < 0) sectors = 0;
    return std::to_string(sectors * 1000 / kCdSectorsPerSecond);
}

// Up to maxFields non-negative numbers separated by colons.
uint32_t splitFields(const std::string& text, std::size_t maxFields, std::vector<long>& fields)
{
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

std::string formatCdPosition(int32_t lsn, TimeFormat format, const DiscToc& toc)
{
    switch (format) {
    case TimeFormat::Tmsf: {
        int index = toc.trackIndexAt(lsn);
        if (index < 0) return "00:00:00:00";
        const CdTrack& track = toc.tracks[index];
        return twoDigits(track.number) + ":" + msfText(lsn - track.start);
    }
    case TimeFormat::Msf: return msfText(int64_t{lsn} + kCdLeadInSectors);
    case TimeFormat::Milliseconds: return millisecondsText(int64_t{lsn} + kCdLeadInSectors);
    }
    return {};
}

std::string formatCdLength(int32_t sectors, TimeFormat format)
{
    return format == TimeFormat::Milliseconds ? millisecondsText(sectors) : msfText(sectors);
}

uint32_t parseCdPosition(const std::string& text, TimeFormat format, const DiscToc& toc,
                         int32_t& lsn)
{
    if (toc.tracks.empty()) return mci::kDeviceNotReady;
    std::vector<long> f;
    int64_t sector = 0;
    switch (format) {
    case TimeFormat::Tmsf: {
        if (uint32_t code = splitFields(text, 4, f)) return code;
        f.resize(4, 0);
        int index = toc.trackIndexOf(static_cast<int>(f[0]));
        if (index < 0 || f[2] >= 60 || f[3] >= kCdSectorsPerSecond) return mci::kOutOfRange;
        sector = toc.tracks[index].start + (int64_t{f[1]} * 60 + f[2]) * kCdSectorsPerSecond + f[3];
        break;
    }
    case TimeFormat::Msf: {
        if (uint32_t code = splitFields(text, 3, f)) return code;
        f.resize(3, 0);
        if (f[1] >= 60 || f[2] >= kCdSectorsPerSecond) return mci::kOutOfRange;
        sector = (int64_t{f[0]} * 60 + f[1]) * kCdSectorsPerSecond + f[2] - kCdLeadInSectors;
        break;
    }
    case TimeFormat::Milliseconds: {
        if (uint32_t code = splitFields(text, 1, f)) return code;
        sector = int64_t{f[0]} * kCdSectorsPerSecond / 1000 - kCdLeadInSectors;
        break;
    }
    }
    if (sector < toc.tracks.front().start || sector > toc.leadOut) return mci::kOutOfRange;
    lsn = static_cast<int32_t>(sector);
    return mci::kOk;
}

}  // namespace quorlane

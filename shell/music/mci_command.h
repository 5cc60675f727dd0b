#pragma once
// One command string taken apart: verb, device (name, file or alias) and the keywords the
// music player sends, no others. Keywords are matched without regard to case; a double-quoted token
// keeps its blanks (file paths).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorlane::mci {

enum class Verb { Open, Close, Play, Stop, Status, Set };

enum class StatusItem { Mode, CurrentTrack, NumberOfTracks, Position };

// The CD's positions are always given as track, minutes, seconds and frames; a music file's
// in milliseconds, which cannot be set.
enum class TimeFormat { Tmsf };

struct Command {
    Verb verb = Verb::Stop;
    std::string device;  // as written, without quotes
    // open
    std::string type;   // empty when not given
    std::string alias;  // empty when not given
    // play
    std::optional<std::string> from;
    std::optional<std::string> to;
    // status
    StatusItem item = StatusItem::Mode;
    std::optional<int> track;  // "position track N"
    // set
    TimeFormat timeFormat = TimeFormat::Tmsf;
};

// Parses one command; returns 0 and fills command, or an error code.
uint32_t parseCommand(std::string_view text, Command& command);

// ASCII case-insensitive equality, the way device names and keywords are compared.
bool sameWord(std::string_view a, std::string_view b);

}  // namespace quorlane::mci

#pragma once
// One command string taken apart: verb, device (name, file or alias) and the keywords the
// music player uses. Keywords are matched without regard to case; a double-quoted token
// keeps its blanks (file paths).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorlane::mci {

enum class Verb { Open, Close, Play, Stop, Status, Set };

enum class StatusItem { Mode, CurrentTrack, NumberOfTracks, Position, Length, MediaPresent };

enum class TimeFormat { Milliseconds, Msf, Tmsf };

struct Command {
    Verb verb = Verb::Stop;
    std::string device;             // as written, without quotes
    // open
    std::string type;               // empty when not given
    std::string alias;              // empty when not given
    // play
    std::optional<std::string> from;
    std::optional<std::string> to;
    // status
    StatusItem item = StatusItem::Mode;
    std::optional<int> track;       // "position track N", "length track N"
    // set
    TimeFormat timeFormat = TimeFormat::Milliseconds;
};

// Parses one command; returns 0 and fills command, or an error code.
uint32_t parseCommand(std::string_view text, Command& command);

// ASCII case-insensitive equality, the way device names and keywords are compared.
bool sameWord(std::string_view a, std::string_view b);

}  // namespace quorlane::mci

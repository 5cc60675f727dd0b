#include "shell/core/command_line.h"

#include "common/ascii_case.h"
#include "common/decimal_number.h"

namespace quorlane {

std::string joinArguments(int argc, const char* const* argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

char modeSwitchOf(const std::string& commandLine) {
    if (commandLine.size() < 2) return 0;
    return asciiUpper(commandLine[1]);
}

std::optional<int32_t> previewHostHandle(const std::string& commandLine) {
    const std::string tail = commandLine.size() > 3 ? commandLine.substr(3) : std::string();
    return roundToInt32(readLeadingNumber(tail), Rounding::HalvesToEven);
}

}  // namespace quorlane

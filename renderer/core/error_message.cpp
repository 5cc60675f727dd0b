#include "renderer/core/error_message.h"

#include <cstdio>

namespace quorlane {

void reportError(const std::string& text) {
    // One write per message, so a message never interleaves with other output. Some texts
    // already end in a line break; the others get one.
    std::string line = "Error: " + text;
    if (line.back() != '\n') line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

}  // namespace quorlane

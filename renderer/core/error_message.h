#pragma once
// The renderer's "Error" message: written to standard error as "Error: <text>"; the caller
// carries on at once.
#include <string>

namespace quorlane {
void reportError(const std::string& text);
}

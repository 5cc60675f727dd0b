#pragma once
#include <cstdint>

namespace quorlane {
// Milliseconds of a monotonic clock, wrapping as an unsigned 32-bit value.
uint32_t tickCount();
}  // namespace quorlane

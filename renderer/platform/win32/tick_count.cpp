#include "renderer/core/tick_count.h"

#include <windows.h>

namespace quorlane {

// The system's own millisecond counter; it wraps like ours, about every 49.7 days.
uint32_t tickCount() { return static_cast<uint32_t>(GetTickCount()); }

}  // namespace quorlane

#pragma once
// The largest single allocation through operator new since the value was last reset, so a
// test can tell that a refused picture was never allocated.
#include <atomic>
#include <cstddef>

namespace quorlane::testing {

extern std::atomic<std::size_t> largestAllocation;

}  // namespace quorlane::testing

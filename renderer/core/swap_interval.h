#pragma once
// Swap at most once per refresh where the driver allows it, so a real display is never
// driven faster than it can show. Frames still follow each other back to back.

namespace quorlane {

// For the current GL context and its window; does nothing where no swap control exists.
// Each system supplies its own (renderer/platform).
void requestVsync();

}  // namespace quorlane

#pragma once
// Swap at most once per refresh where the driver allows it, so a real display is never
// driven faster than it can show; frames still follow each other back to back. Needs the
// window's GL context current. Each platform supplies its own (renderer/platform).
namespace quorlane {
void requestVsync();
}

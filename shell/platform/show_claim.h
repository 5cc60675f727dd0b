#pragma once
// One show per X display. The title test finds a running show only once its hidden window
// exists, which is after the settings are read and Qt has started; shows started at the
// same instant all pass it. An X selection is owned by one client at a time, and taking it
// under a server grab makes "is it free? then it is mine" one step no other start can split.
//
// Supports: one show per X display through a selection taken under a server grab.
// Does not: one show across several displays, Wayland.
typedef struct _XDisplay Display;

namespace quorlane {

// True when this process now owns the show of the display; the claim lasts as long as the
// connection (so a killed show frees it by itself).
bool claimShow(Display* display);

}  // namespace quorlane

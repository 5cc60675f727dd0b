#pragma once
// One show or one settings dialog per X display. The title test finds a running show or
// dialog only once its window exists, which is after the settings are read and Qt has
// started; starts made at the same instant all pass it. An X selection is owned by one
// client at a time, and taking it under a server grab makes "is it free? then it is mine"
// one step no other start can split.
//
// Supports: one show or dialog per X display through a selection taken under a server grab.
// Does not: one across several displays, Wayland.
typedef struct _XDisplay Display;

namespace quorlane {

// True when this process now owns the display's one show or dialog; the claim lasts as long
// as the connection (so a killed show or dialog frees it by itself).
bool claimDisplay(Display* display);

}  // namespace quorlane

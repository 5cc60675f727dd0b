#pragma once
// One X window property read whole: the few places in both programs that read one (window
// titles, the managed-window list, the window manager's frame and its announcements, the
// framework's screenshot) share this read and its checks instead of each calling Xlib.
//
// Supports: properties of format 8 (as bytes), 16 and 32 (as items; Xlib hands format 32 as
// longs). Does not: read a property in pieces, or wait for one to be set.
#include <optional>
#include <string>
#include <vector>

typedef struct _XDisplay Display;

namespace quorlane {

struct XPropertyValue {
    unsigned long type = 0;            // the property's type atom
    int format = 0;                    // 8, 16 or 32
    std::string bytes;                 // format 8
    std::vector<unsigned long> items;  // formats 16 and 32
};

// Up to maxItems of the window's property, when it has one of the type asked (0 asks for any
// type); nothing when it has none, or the window cannot be read.
std::optional<XPropertyValue> readXProperty(Display* display, unsigned long window,
                                            unsigned long property, unsigned long type,
                                            long maxItems);

}  // namespace quorlane

#include "common/x11/x_property.h"

#include <X11/Xlib.h>

namespace quorlane {

std::optional<XPropertyValue> readXProperty(Display* display, unsigned long window,
                                            unsigned long property, unsigned long type,
                                            long maxItems) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, maxItems, False,
                                          type == 0 ? AnyPropertyType : type, &actualType, &format,
                                          &count, &after, &data);
    std::optional<XPropertyValue> value;
    // A property of another type comes back without data; one that is missing as type None.
    if (status == Success && actualType != None && data != nullptr &&
        (type == 0 || actualType == type)) {
        value.emplace();
        value->type = actualType;
        value->format = format;
        if (format == 8) {
            value->bytes.assign(reinterpret_cast<const char*>(data), count);
        } else if (format == 16) {
            const auto* shorts = reinterpret_cast<const short*>(data);
            value->items.assign(shorts, shorts + count);
        } else if (format == 32) {
            const auto* longs = reinterpret_cast<const unsigned long*>(data);
            value->items.assign(longs, longs + count);
        }
    }
    if (data != nullptr) XFree(data);
    return value;
}

}  // namespace quorlane

#pragma once
// Owning handles for sd-bus objects, for the calls a show and the settings dialog make on the
// session bus (the desktop portal and its permission store).
#include <systemd/sd-bus.h>

#include <memory>

namespace quorlane {

struct SessionBusClose {
    void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct BusMessageUnref {
    void operator()(sd_bus_message* m) const { sd_bus_message_unref(m); }
};
struct BusSlotUnref {
    void operator()(sd_bus_slot* s) const { sd_bus_slot_unref(s); }
};
using SessionBus = std::unique_ptr<sd_bus, SessionBusClose>;
using BusMessage = std::unique_ptr<sd_bus_message, BusMessageUnref>;
using BusSlot = std::unique_ptr<sd_bus_slot, BusSlotUnref>;

struct BusError {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    BusError() = default;
    BusError(const BusError&) = delete;
    BusError& operator=(const BusError&) = delete;
    ~BusError() { sd_bus_error_free(&error); }
};

// The user's session bus (DBUS_SESSION_BUS_ADDRESS, else the default), or none.
inline SessionBus openSessionBus() {
    sd_bus* bus = nullptr;
    if (sd_bus_open_user(&bus) < 0) return nullptr;
    return SessionBus(bus);
}

}  // namespace quorlane

#include "shell/platform/wayland/screenshot_permission_store.h"

#include <cstring>

#include "shell/platform/wayland/session_bus.h"

namespace quorlane {

namespace {

constexpr const char* kStoreName = "org.freedesktop.impl.portal.PermissionStore";
constexpr const char* kStorePath = "/org/freedesktop/impl/portal/PermissionStore";
// The screenshot portal's table and entry; a program outside a sandbox has the empty id.
constexpr const char* kTable = "screenshot";
constexpr const char* kEntry = "screenshot";
constexpr const char* kUnsandboxed = "";
constexpr uint64_t kCallLimitMicroseconds = 3'000'000;

// The permissions of the program with the empty id in a Lookup reply, (a{sas}v).
StoredScreenshotPermission readUnsandboxedPermission(sd_bus_message* reply) {
    if (sd_bus_message_enter_container(reply, 'a', "{sas}") < 0)
        return StoredScreenshotPermission::Unknown;
    while (sd_bus_message_enter_container(reply, 'e', "sas") > 0) {
        const char* app = nullptr;
        if (sd_bus_message_read(reply, "s", &app) < 0) return StoredScreenshotPermission::Unknown;
        if (std::strcmp(app, kUnsandboxed) != 0) {
            if (sd_bus_message_skip(reply, "as") < 0) return StoredScreenshotPermission::Unknown;
            sd_bus_message_exit_container(reply);
            continue;
        }
        const char* first = nullptr;
        if (sd_bus_message_enter_container(reply, 'a', "s") < 0 ||
            sd_bus_message_read_basic(reply, 's', &first) < 0)
            return StoredScreenshotPermission::Unknown;
        return first != nullptr && std::strcmp(first, "yes") == 0
                   ? StoredScreenshotPermission::Allowed
                   : StoredScreenshotPermission::Denied;
    }
    return StoredScreenshotPermission::NotAsked;
}

}  // namespace

StoredScreenshotPermission lookUpScreenshotPermission() {
    const SessionBus bus = openSessionBus();
    if (!bus) return StoredScreenshotPermission::Unknown;
    BusError error;
    sd_bus_message* raw = nullptr;
    sd_bus_message* callRaw = nullptr;
    if (sd_bus_message_new_method_call(bus.get(), &callRaw, kStoreName, kStorePath, kStoreName,
                                       "Lookup") < 0)
        return StoredScreenshotPermission::Unknown;
    const BusMessage call(callRaw);
    if (sd_bus_message_append(call.get(), "ss", kTable, kEntry) < 0)
        return StoredScreenshotPermission::Unknown;
    if (sd_bus_call(bus.get(), call.get(), kCallLimitMicroseconds, &error.error, &raw) < 0) {
        // The store answers NotFound for a table or entry never written: nobody asked yet.
        return sd_bus_error_has_name(&error.error, "org.freedesktop.portal.Error.NotFound")
                   ? StoredScreenshotPermission::NotAsked
                   : StoredScreenshotPermission::Unknown;
    }
    const BusMessage reply(raw);
    return readUnsandboxedPermission(reply.get());
}

bool forgetScreenshotRefusal() {
    const SessionBus bus = openSessionBus();
    if (!bus) return false;
    sd_bus_message* callRaw = nullptr;
    if (sd_bus_message_new_method_call(bus.get(), &callRaw, kStoreName, kStorePath, kStoreName,
                                       "DeletePermission") < 0)
        return false;
    const BusMessage call(callRaw);
    if (sd_bus_message_append(call.get(), "sss", kTable, kEntry, kUnsandboxed) < 0) return false;
    BusError error;
    return sd_bus_call(bus.get(), call.get(), kCallLimitMicroseconds, &error.error, nullptr) >= 0;
}

}  // namespace quorlane

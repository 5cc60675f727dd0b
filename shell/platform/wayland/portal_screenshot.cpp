#include "shell/platform/wayland/portal_screenshot.h"

#include <unistd.h>

#include <atomic>
#include <cstring>
#include <memory>

#include "shell/platform/wayland/session_bus.h"

namespace quorlane {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";

struct Waiting {
    bool answered = false;
    uint32_t response = 2;
    std::string uri;
};

// The Response signal: a code (0 done, 1 cancelled, 2 refused or failed) and the results.
int onResponse(sd_bus_message* message, void* data, sd_bus_error*) {
    auto* waiting = static_cast<Waiting*>(data);
    waiting->answered = true;
    if (sd_bus_message_read(message, "u", &waiting->response) < 0) return 0;
    if (sd_bus_message_enter_container(message, 'a', "{sv}") < 0) return 0;
    while (sd_bus_message_enter_container(message, 'e', "sv") > 0) {
        const char* key = nullptr;
        if (sd_bus_message_read(message, "s", &key) < 0) return 0;
        if (std::strcmp(key, "uri") == 0) {
            const char* uri = nullptr;
            if (sd_bus_message_read(message, "v", "s", &uri) >= 0 && uri != nullptr)
                waiting->uri = uri;
        } else if (sd_bus_message_skip(message, "v") < 0) {
            return 0;
        }
        sd_bus_message_exit_container(message);
    }
    return 0;
}

// The request object's path the portal will use: the caller's unique name without its
// colon, dots made underscores, then the token.
std::string requestPath(const char* uniqueName, const std::string& token) {
    std::string sender = uniqueName[0] == ':' ? uniqueName + 1 : uniqueName;
    for (char& c : sender)
        if (c == '.') c = '_';
    return std::string(kPortalPath) + "/request/" + sender + "/" + token;
}

bool absentPortal(const sd_bus_error& error) {
    return sd_bus_error_has_name(&error, SD_BUS_ERROR_SERVICE_UNKNOWN) ||
           sd_bus_error_has_name(&error, SD_BUS_ERROR_UNKNOWN_METHOD) ||
           sd_bus_error_has_name(&error, SD_BUS_ERROR_UNKNOWN_INTERFACE) ||
           sd_bus_error_has_name(&error, SD_BUS_ERROR_UNKNOWN_OBJECT) ||
           sd_bus_error_has_name(&error, SD_BUS_ERROR_NAME_HAS_NO_OWNER);
}

// A request given up is closed: a question the desktop put to the user for it goes away
// instead of staying on the screen with nobody waiting for its answer.
void closeRequest(sd_bus* bus, const std::string& path) {
    sd_bus_message* raw = nullptr;
    if (sd_bus_message_new_method_call(bus, &raw, kPortalName, path.c_str(),
                                       "org.freedesktop.portal.Request", "Close") < 0)
        return;
    const BusMessage close(raw);
    sd_bus_message_set_expect_reply(close.get(), 0);
    sd_bus_send(bus, close.get(), nullptr);
}

// Listens for the Response signal on a request's path; the slot ends the listening.
bool listenForResponse(sd_bus* bus, const std::string& path, Waiting& waiting, BusSlot& slot) {
    sd_bus_slot* raw = nullptr;
    slot.reset();
    if (sd_bus_match_signal(bus, &raw, nullptr, path.c_str(), "org.freedesktop.portal.Request",
                            "Response", onResponse, &waiting) < 0)
        return false;
    slot.reset(raw);
    return true;
}

// Calls Screenshot; on success `handle` is the request's path as the portal chose it.
bool callScreenshot(sd_bus* bus, const std::string& token, bool interactive,
                    Clock::time_point deadline, std::string& handle, PortalAnswer& answer) {
    sd_bus_message* callRaw = nullptr;
    if (sd_bus_message_new_method_call(bus, &callRaw, kPortalName, kPortalPath,
                                       "org.freedesktop.portal.Screenshot", "Screenshot") < 0) {
        answer.detail = "cannot make the request";
        return false;
    }
    const BusMessage call(callRaw);
    const int interactiveValue = interactive ? 1 : 0;
    if (sd_bus_message_append(call.get(), "sa{sv}", "", 2, "handle_token", "s", token.c_str(),
                              "interactive", "b", interactiveValue) < 0) {
        answer.detail = "cannot make the request";
        return false;
    }
    BusError error;
    sd_bus_message* replyRaw = nullptr;
    const auto callLimit =
        std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
    if (sd_bus_call(bus, call.get(), static_cast<uint64_t>(std::max<int64_t>(1, callLimit.count())),
                    &error.error, &replyRaw) < 0) {
        answer.outcome =
            absentPortal(error.error) ? PortalOutcome::NoPortal : PortalOutcome::Failed;
        answer.detail = error.error.message != nullptr ? error.error.message : "the call failed";
        return false;
    }
    const BusMessage reply(replyRaw);
    const char* path = nullptr;
    if (sd_bus_message_read(reply.get(), "o", &path) < 0) {
        answer.detail = "the portal's reply makes no sense";
        return false;
    }
    handle = path;
    return true;
}

// Runs the bus until the Response has come; false with `detail` when it does not.
bool waitForResponse(sd_bus* bus, const Waiting& waiting, Clock::time_point deadline,
                     const std::string& path, std::string& detail) {
    while (!waiting.answered) {
        const int processed = sd_bus_process(bus, nullptr);
        if (processed < 0) {
            detail = "the session bus went away";
            return false;
        }
        if (processed > 0) continue;
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            closeRequest(bus, path);
            detail = "the portal did not answer in time";
            return false;
        }
        if (sd_bus_wait(bus, static_cast<uint64_t>(left.count())) < 0) {
            detail = "the session bus went away";
            return false;
        }
    }
    return true;
}

// What the Response said.
PortalAnswer answerOf(const Waiting& waiting) {
    PortalAnswer answer;
    if (waiting.response != 0) {
        answer.outcome = PortalOutcome::Refused;
        answer.detail = waiting.response == 1 ? "cancelled" : "refused";
    } else if (waiting.uri.empty()) {
        answer.detail = "the portal named no picture";
    } else {
        answer.outcome = PortalOutcome::Captured;
        answer.uri = waiting.uri;
    }
    return answer;
}

}  // namespace

PortalAnswer requestPortalScreenshot(bool interactive, std::chrono::milliseconds limit) {
    PortalAnswer answer;
    const auto deadline = Clock::now() + limit;
    const SessionBus bus = openSessionBus();
    if (!bus) {
        answer.outcome = PortalOutcome::NoBus;
        answer.detail = "no session bus";
        return answer;
    }
    const char* unique = nullptr;
    if (sd_bus_get_unique_name(bus.get(), &unique) < 0) {
        answer.outcome = PortalOutcome::NoBus;
        answer.detail = "the session bus does not answer";
        return answer;
    }
    static std::atomic<unsigned> counter{0};
    const std::string token =
        "quorlane" + std::to_string(getpid()) + "_" + std::to_string(++counter);

    // Listening before asking: a fast portal may answer before the call returns.
    Waiting waiting;
    const std::string path = requestPath(unique, token);
    BusSlot slot;
    if (!listenForResponse(bus.get(), path, waiting, slot)) {
        answer.detail = "cannot listen on the session bus";
        return answer;
    }
    std::string handle;
    if (!callScreenshot(bus.get(), token, interactive, deadline, handle, answer)) return answer;
    // An older portal may choose its own path: listen there instead.
    if (handle != path && !listenForResponse(bus.get(), handle, waiting, slot)) {
        answer.detail = "cannot listen on the session bus";
        return answer;
    }
    if (!waitForResponse(bus.get(), waiting, deadline, handle, answer.detail)) return answer;
    return answerOf(waiting);
}

}  // namespace quorlane

#include "shell/platform/wayland/sway_placement.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <wayland-client.h>

#include "shell/platform/wayland/wayland_outputs.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace quorlane {

namespace {

// The name of the output whose top-left corner is (x, y); empty when there is none.
std::string outputAt(int x, int y) {
    std::unique_ptr<wl_display, void (*)(wl_display*)> display(wl_display_connect(nullptr),
                                                               wl_display_disconnect);
    if (!display) return {};
    std::string name;
    {
        WaylandOutputs outputs;
        wl_registry* registry = wl_display_get_registry(display.get());
        wl_registry_add_listener(registry, outputs.registryListener(), &outputs);
        wl_display_roundtrip(display.get());
        outputs.learn(display.get());
        if (const WaylandOutput* output = outputs.at(x, y)) name = output->name;
        wl_registry_destroy(registry);
    }
    return name;
}

// One command to sway; its reply, or nothing when sway cannot be reached.
bool swayCommand(const std::string& command, std::string& reply) {
    const char* socketPath = std::getenv("SWAYSOCK");
    if (socketPath == nullptr || *socketPath == '\0') return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (std::strlen(socketPath) >= sizeof address.sun_path) return false;
    std::strcpy(address.sun_path, socketPath);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const timeval limit{1, 0};  // sway answers at once; a stuck one must not stop the show
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    // The message: "i3-ipc", the payload's length and type (0, run a command), the payload.
    std::string message = "i3-ipc";
    const uint32_t header[2] = {static_cast<uint32_t>(command.size()), 0};
    message.append(reinterpret_cast<const char*>(header), sizeof header);
    message += command;
    ok = ok && send(fd, message.data(), message.size(), MSG_NOSIGNAL) ==
                   static_cast<ssize_t>(message.size());
    auto readAll = [fd](char* into, std::size_t size) {
        std::size_t got = 0;
        while (got < size) {
            const ssize_t n = recv(fd, into + got, size - got, 0);
            if (n <= 0) return false;
            got += static_cast<std::size_t>(n);
        }
        return true;
    };
    char answerHeader[14];
    ok = ok && readAll(answerHeader, sizeof answerHeader);
    uint32_t length = 0;
    if (ok) std::memcpy(&length, answerHeader + 6, sizeof length);
    ok = ok && length < (1u << 20);
    if (ok) {
        reply.assign(length, '\0');
        ok = readAll(reply.data(), length);
    }
    close(fd);
    return ok;
}

}  // namespace

bool placeWindowOnSwayOutput(int pid, int x, int y, std::string& why) {
    const std::string output = outputAt(x, y);
    if (output.empty()) {
        why = "no output at " + std::to_string(x) + "," + std::to_string(y);
        return false;
    }
    std::string reply;
    const std::string criteria = "[pid=" + std::to_string(pid) + "] ";
    // Commands after a comma keep the criteria.
    if (!swayCommand(criteria + "move container to output \"" + output + "\", fullscreen enable",
                     reply)) {
        why = "sway's command socket does not answer";
        return false;
    }
    // Until the window exists, sway answers that nothing matches.
    const bool done = reply.find("\"success\": false") == std::string::npos &&
                      reply.find("\"success\":false") == std::string::npos;
    if (!done) why = reply;
    return done;
}

}  // namespace quorlane

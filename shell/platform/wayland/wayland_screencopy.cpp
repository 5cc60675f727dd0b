#include "shell/platform/wayland/wayland_screencopy.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "shell/platform/wayland/wayland_outputs.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"

namespace quorlane {

namespace {

using Clock = std::chrono::steady_clock;

struct Session {
    wl_shm* shm = nullptr;
    zwlr_screencopy_manager_v1* manager = nullptr;
    uint32_t managerVersion = 0;
    WaylandOutputs outputs;

    ~Session() {
        if (manager != nullptr) zwlr_screencopy_manager_v1_destroy(manager);
        if (shm != nullptr) wl_shm_destroy(shm);
    }
};

void registryGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
                    uint32_t version) {
    auto* session = static_cast<Session*>(data);
    if (std::strcmp(interface, wl_shm_interface.name) == 0) {
        session->shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    } else if (std::strcmp(interface, zwlr_screencopy_manager_v1_interface.name) == 0) {
        session->managerVersion = std::min<uint32_t>(version, 3);
        session->manager = static_cast<zwlr_screencopy_manager_v1*>(wl_registry_bind(
            registry, name, &zwlr_screencopy_manager_v1_interface, session->managerVersion));
    } else {
        session->outputs.take(registry, name, interface, version);
    }
}
void registryGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {registryGlobal, registryGlobalRemove};

// One frame's copy, from the compositor's offer of a buffer to its answer.
struct Frame {
    zwlr_screencopy_manager_v1* manager = nullptr;
    uint32_t managerVersion = 0;
    wl_shm* shm = nullptr;
    zwlr_screencopy_frame_v1* frame = nullptr;
    bool offered = false;
    uint32_t format = 0, width = 0, height = 0, stride = 0;
    void* memory = MAP_FAILED;
    std::size_t size = 0;
    wl_buffer* buffer = nullptr;
    bool upsideDown = false;
    bool ready = false, failed = false;
    std::string problem;

    ~Frame() {
        if (buffer != nullptr) wl_buffer_destroy(buffer);
        if (memory != MAP_FAILED) munmap(memory, size);
        if (frame != nullptr) zwlr_screencopy_frame_v1_destroy(frame);
    }

    void copy() {
        if (!offered) {
            failed = true;
            problem = "the compositor offered no shared-memory buffer";
            return;
        }
        size = static_cast<std::size_t>(stride) * height;
        const int fd = memfd_create("quorlane-screencopy", MFD_CLOEXEC);
        if (fd < 0 || ftruncate(fd, static_cast<off_t>(size)) != 0) {
            if (fd >= 0) close(fd);
            failed = true;
            problem = std::string("no shared memory: ") + std::strerror(errno);
            return;
        }
        memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (memory == MAP_FAILED) {
            close(fd);
            failed = true;
            problem = std::string("no shared memory: ") + std::strerror(errno);
            return;
        }
        wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<int32_t>(size));
        buffer = wl_shm_pool_create_buffer(pool, 0, static_cast<int32_t>(width),
                                           static_cast<int32_t>(height),
                                           static_cast<int32_t>(stride), format);
        wl_shm_pool_destroy(pool);
        close(fd);
        zwlr_screencopy_frame_v1_copy(frame, buffer);
    }
};

bool formatKnown(uint32_t format) {
    return format == WL_SHM_FORMAT_XRGB8888 || format == WL_SHM_FORMAT_ARGB8888 ||
           format == WL_SHM_FORMAT_XBGR8888 || format == WL_SHM_FORMAT_ABGR8888;
}

void frameBuffer(void* data, zwlr_screencopy_frame_v1*, uint32_t format, uint32_t width,
                 uint32_t height, uint32_t stride) {
    auto* f = static_cast<Frame*>(data);
    // The first 32-bit format offered is taken; a later offer does not replace it.
    if (!f->offered && formatKnown(format) && width > 0 && height > 0 && stride >= width * 4) {
        f->offered = true;
        f->format = format;
        f->width = width;
        f->height = height;
        f->stride = stride;
    }
    // Before version 3 the one offer is all there is: copy at once.
    if (f->managerVersion < 3) f->copy();
}
void frameFlags(void* data, zwlr_screencopy_frame_v1*, uint32_t flags) {
    static_cast<Frame*>(data)->upsideDown = (flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT) != 0;
}
void frameReady(void* data, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {
    static_cast<Frame*>(data)->ready = true;
}
void frameFailed(void* data, zwlr_screencopy_frame_v1*) {
    auto* f = static_cast<Frame*>(data);
    f->failed = true;
    if (f->problem.empty()) f->problem = "the compositor could not copy the output";
}
void frameDamage(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t, uint32_t) {}
void frameDmabuf(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {}
void frameBufferDone(void* data, zwlr_screencopy_frame_v1*) { static_cast<Frame*>(data)->copy(); }
const zwlr_screencopy_frame_v1_listener kFrameListener = {
    frameBuffer, frameFlags, frameReady, frameFailed, frameDamage, frameDmabuf, frameBufferDone};

// Dispatches the compositor's events until `done` holds, the connection fails or time is up.
template <class Done>
bool dispatchUntil(wl_display* display, Done done, Clock::time_point deadline) {
    const int fd = wl_display_get_fd(display);
    while (!done()) {
        while (wl_display_prepare_read(display) != 0) {
            if (wl_display_dispatch_pending(display) < 0) return false;
            if (done()) return true;
        }
        wl_display_flush(display);
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            wl_display_cancel_read(display);
            return false;
        }
        pollfd p{fd, POLLIN, 0};
        const int n = poll(&p, 1, static_cast<int>(left.count()));
        if (n <= 0) {
            wl_display_cancel_read(display);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return false;
            continue;
        }
        if (wl_display_read_events(display) < 0) return false;
        if (wl_display_dispatch_pending(display) < 0) return false;
    }
    return true;
}

// The picture as the desktop image file's encoder takes it: blue, green, red, unused.
void convert(const Frame& f, DecodedPicture& picture) {
    picture.width = static_cast<int>(f.width);
    picture.height = static_cast<int>(f.height);
    picture.dotsPerMeterX = picture.dotsPerMeterY = 0;
    picture.pixels.resize(static_cast<std::size_t>(f.width) * f.height);
    const bool swap = f.format == WL_SHM_FORMAT_XBGR8888 || f.format == WL_SHM_FORMAT_ABGR8888;
    const auto* base = static_cast<const uint8_t*>(f.memory);
    for (uint32_t y = 0; y < f.height; ++y) {
        const uint32_t from = f.upsideDown ? f.height - 1 - y : y;
        const auto* row = reinterpret_cast<const uint32_t*>(base + std::size_t{from} * f.stride);
        uint32_t* out = picture.pixels.data() + std::size_t{y} * f.width;
        for (uint32_t x = 0; x < f.width; ++x) {
            const uint32_t p = row[x];
            out[x] = swap ? (p & 0xff00u) | ((p >> 16) & 0xffu) | ((p & 0xffu) << 16) : p;
            out[x] &= 0x00ffffffu;
        }
    }
}

}  // namespace

ScreencopyOutcome copyWaylandOutput(DecodedPicture& picture, std::string& detail,
                                    std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    std::unique_ptr<wl_display, void (*)(wl_display*)> display(wl_display_connect(nullptr),
                                                               wl_display_disconnect);
    if (!display) {
        detail = "cannot connect to the Wayland compositor";
        return ScreencopyOutcome::NotOffered;
    }
    Session session;
    wl_registry* registry = wl_display_get_registry(display.get());
    wl_registry_add_listener(registry, &kRegistryListener, &session);
    if (wl_display_roundtrip(display.get()) < 0) {
        wl_registry_destroy(registry);
        detail = "the Wayland compositor closed the connection";
        return ScreencopyOutcome::Failed;
    }
    wl_registry_destroy(registry);
    if (session.manager == nullptr || session.shm == nullptr || session.outputs.empty()) {
        detail = "the compositor offers no screen copy";
        return ScreencopyOutcome::NotOffered;
    }
    session.outputs.learn(display.get());

    // Wayland names no primary output; the one at the layout's origin stands for it, as
    // XWayland's first monitor does for the renderer.
    const WaylandOutput* chosen = session.outputs.at(0, 0);
    if (chosen == nullptr) chosen = &session.outputs.first();
    Frame frame;
    frame.manager = session.manager;
    frame.managerVersion = session.managerVersion;
    frame.shm = session.shm;
    frame.frame = zwlr_screencopy_manager_v1_capture_output(session.manager, 0, chosen->output);
    zwlr_screencopy_frame_v1_add_listener(frame.frame, &kFrameListener, &frame);
    if (!dispatchUntil(
            display.get(), [&] { return frame.ready || frame.failed; }, deadline)) {
        detail = "the compositor did not copy the output in time";
        return ScreencopyOutcome::Failed;
    }
    if (frame.failed) {
        detail = frame.problem;
        return ScreencopyOutcome::Failed;
    }
    convert(frame, picture);
    return ScreencopyOutcome::Captured;
}

}  // namespace quorlane

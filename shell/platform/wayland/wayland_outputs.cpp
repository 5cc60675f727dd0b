#include "shell/platform/wayland/wayland_outputs.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "xdg-output-unstable-v1-client-protocol.h"

namespace quorlane {

namespace {

void outputGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t,
                    const char*, const char*, int32_t) {
    auto* output = static_cast<WaylandOutput*>(data);
    output->x = x;
    output->y = y;
}
void outputMode(void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {}
void outputDone(void*, wl_output*) {}
void outputScale(void*, wl_output*, int32_t) {}
void outputName(void* data, wl_output*, const char* name) {
    static_cast<WaylandOutput*>(data)->name = name;
}
void outputDescription(void*, wl_output*, const char*) {}
const wl_output_listener kOutputListener = {outputGeometry, outputMode, outputDone,
                                            outputScale,    outputName, outputDescription};

void xdgPosition(void* data, zxdg_output_v1*, int32_t x, int32_t y) {
    auto* output = static_cast<WaylandOutput*>(data);
    output->x = x;
    output->y = y;
}
void xdgSize(void* data, zxdg_output_v1*, int32_t width, int32_t height) {
    auto* output = static_cast<WaylandOutput*>(data);
    output->width = width;
    output->height = height;
}
void xdgDone(void*, zxdg_output_v1*) {}
void xdgName(void* data, zxdg_output_v1*, const char* name) {
    static_cast<WaylandOutput*>(data)->name = name;
}
void xdgDescription(void*, zxdg_output_v1*, const char*) {}
const zxdg_output_v1_listener kXdgListener = {xdgPosition, xdgSize, xdgDone, xdgName,
                                              xdgDescription};

void registryGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
                    uint32_t version) {
    static_cast<WaylandOutputs*>(data)->take(registry, name, interface, version);
}
void registryGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {registryGlobal, registryGlobalRemove};

}  // namespace

WaylandOutputs::~WaylandOutputs() {
    for (auto& o : outputs_) wl_output_destroy(o->output);
    if (manager_ != nullptr) zxdg_output_manager_v1_destroy(manager_);
}

const wl_registry_listener* WaylandOutputs::registryListener() { return &kRegistryListener; }

bool WaylandOutputs::take(wl_registry* registry, uint32_t name, const char* interface,
                          uint32_t version) {
    if (std::strcmp(interface, wl_output_interface.name) == 0) {
        auto output = std::make_unique<WaylandOutput>();
        output->output = static_cast<wl_output*>(
            wl_registry_bind(registry, name, &wl_output_interface, std::min<uint32_t>(version, 4)));
        wl_output_add_listener(output->output, &kOutputListener, output.get());
        outputs_.push_back(std::move(output));
        return true;
    }
    if (std::strcmp(interface, zxdg_output_manager_v1_interface.name) == 0) {
        managerVersion_ = std::min<uint32_t>(version, 2);
        manager_ = static_cast<zxdg_output_manager_v1*>(
            wl_registry_bind(registry, name, &zxdg_output_manager_v1_interface, managerVersion_));
        return true;
    }
    return false;
}

void WaylandOutputs::learn(wl_display* display) {
    std::vector<zxdg_output_v1*> asked;
    if (manager_ != nullptr) {
        for (auto& o : outputs_) {
            zxdg_output_v1* xdg = zxdg_output_manager_v1_get_xdg_output(manager_, o->output);
            zxdg_output_v1_add_listener(xdg, &kXdgListener, o.get());
            asked.push_back(xdg);
        }
    }
    wl_display_roundtrip(display);
    for (zxdg_output_v1* xdg : asked) zxdg_output_v1_destroy(xdg);
}

const WaylandOutput* WaylandOutputs::at(int x, int y) const {
    for (const auto& o : outputs_) {
        if (o->x == x && o->y == y) return o.get();
    }
    return nullptr;
}

}  // namespace quorlane

namespace quorlane {

bool waylandLayout(std::vector<MonitorRect>& outputs, MonitorRect& primary) {
    std::unique_ptr<wl_display, void (*)(wl_display*)> display(wl_display_connect(nullptr),
                                                               wl_display_disconnect);
    if (!display) return false;
    WaylandOutputs known;
    wl_registry* registry = wl_display_get_registry(display.get());
    wl_registry_add_listener(registry, WaylandOutputs::registryListener(), &known);
    wl_display_roundtrip(display.get());
    known.learn(display.get());
    wl_registry_destroy(registry);
    if (known.empty()) return false;
    outputs.clear();
    for (const auto& o : known.all()) outputs.push_back({o->x, o->y, o->width, o->height});
    const WaylandOutput* origin = known.at(0, 0);
    if (origin == nullptr) origin = &known.first();
    primary = {origin->x, origin->y, origin->width, origin->height};
    return true;
}

}  // namespace quorlane

#pragma once
// A compositor's outputs with their names and places in the layout, as a Wayland client
// learns them: the place from xdg-output (wl_output's own is 0,0 on wlroots), the name from
// xdg-output version 2 or wl_output version 4.
//
// Supports: outputs present when the connection is made.
// Does not: outputs that come or go afterwards.
#include <memory>

#include <string>
#include <vector>
#include "common/monitor_geometry.h"

struct wl_display;
struct wl_output;
struct wl_registry;
struct wl_registry_listener;
struct zxdg_output_manager_v1;

namespace quorlane {

struct WaylandOutput {
    wl_output* output = nullptr;
    std::string name;
    int x = 0, y = 0;
    int width = 0, height = 0;  // logical size, as the layout counts; 0 when unknown
};

class WaylandOutputs {
public:
    WaylandOutputs() = default;
    ~WaylandOutputs();
    WaylandOutputs(const WaylandOutputs&) = delete;
    WaylandOutputs& operator=(const WaylandOutputs&) = delete;

    // For a registry listener: takes the global when it is an output or the xdg-output manager.
    bool take(wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
    // After the round trip that announced the globals: learns each output's name and place.
    void learn(wl_display* display);

    // A registry listener that takes only outputs, with this object as its data.
    static const wl_registry_listener* registryListener();

    bool empty() const { return outputs_.empty(); }
    // The output whose top-left corner is (x, y); null when none is.
    const WaylandOutput* at(int x, int y) const;
    const WaylandOutput& first() const { return *outputs_.front(); }
    const std::vector<std::unique_ptr<WaylandOutput>>& all() const { return outputs_; }

private:
    std::vector<std::unique_ptr<WaylandOutput>> outputs_;
    zxdg_output_manager_v1* manager_ = nullptr;
    uint32_t managerVersion_ = 0;
};

// The layout of the compositor named by WAYLAND_DISPLAY: every output's rectangle, and the one
// at the origin that stands for the primary screen (else the first). False when unknown.
bool waylandLayout(std::vector<MonitorRect>& outputs, MonitorRect& primary);

}  // namespace quorlane

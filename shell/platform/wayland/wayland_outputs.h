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

struct wl_display;
struct wl_output;
struct wl_registry;
struct zxdg_output_manager_v1;

namespace quorlane {

struct WaylandOutput {
    wl_output* output = nullptr;
    std::string name;
    int x = 0, y = 0;
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

    bool empty() const { return outputs_.empty(); }
    // The output whose top-left corner is (x, y); null when none is.
    const WaylandOutput* at(int x, int y) const;
    const WaylandOutput& first() const { return *outputs_.front(); }

private:
    std::vector<std::unique_ptr<WaylandOutput>> outputs_;
    zxdg_output_manager_v1* manager_ = nullptr;
    uint32_t managerVersion_ = 0;
};

}  // namespace quorlane

#pragma once
// A show on several monitors: the primary monitor's renderer is the show's own, as with one
// monitor; every other monitor gets a renderer of its own, flying the same maze with the
// same picture. Escape in any of them ends the show; one that fails leaves the others
// flying; a monitor that goes takes its renderer with it, and one that comes is covered too.
#include <optional>
#include <vector>

#include "common/monitor_geometry.h"

namespace quorlane {

// A renderer at one look.
enum class RendererState {
    Running,
    EndedNormally,  // exit code 0: the user pressed Escape in it
    Failed,         // ended any other way, or never began
};

// What the show asks of the system for the renderers of its other monitors.
class MonitorRendererServices {
public:
    virtual ~MonitorRendererServices() = default;
    // The monitors now; none where the server cannot tell.
    virtual std::vector<Monitor> monitors() = 0;
    // Starts one more renderer on this rectangle: a number for it, or -1 when it cannot start.
    virtual int startRendererOn(const MonitorRect& rect) = 0;
    virtual RendererState rendererOnState(int id) = 0;
    // Ends it and everything it started.
    virtual void stopRendererOn(int id) = 0;
};

class MonitorCover {
public:
    enum class Verdict { Going, EndShow };

    // At the start, before the primary renderer, with the monitors then. Returns the primary
    // renderer's monitor when there are several; nothing when there is only one (or none is
    // known): the renderer then fills the screen as it does alone, and no other is started.
    std::optional<MonitorRect> begin(const std::vector<Monitor>& monitors);
    // Starts a renderer on each other monitor (after the primary's, which keeps the first
    // place on the screen).
    void coverOthers(MonitorRendererServices& services);
    // One look, with the primary renderer's state.
    Verdict tick(MonitorRendererServices& services, RendererState primary);

    // Whether the show has other monitors to look after at all.
    bool active() const { return primary_.has_value(); }
    // Whether a renderer of another monitor still runs.
    bool othersRunning() const;

private:
    struct Cover {
        Monitor monitor;
        int id = -1;
        bool running = false;
    };
    // Whether this monitor's rectangle is already the primary's or another's.
    bool known(const Monitor& monitor) const;
    void cover(MonitorRendererServices& services, const Monitor& monitor);

    std::optional<Monitor> primary_;
    // Whether the primary renderer's monitor has gone at some time (its renderer is then
    // elsewhere, wherever the window manager put it).
    bool primaryLeft_ = false;
    std::vector<Monitor> atStart_;
    // Every monitor covered in this show and still there, its renderer running or not.
    std::vector<Cover> covers_;
};

}  // namespace quorlane

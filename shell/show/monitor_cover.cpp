#include "shell/show/monitor_cover.h"

#include <algorithm>

namespace quorlane {

namespace {

// The same monitor: its name and rectangle (which one is primary may change meanwhile).
bool sameMonitor(const Monitor& a, const Monitor& b) {
    return a.name == b.name && a.rect == b.rect;
}

}  // namespace

std::optional<MonitorRect> MonitorCover::begin(const std::vector<Monitor>& monitors) {
    primary_.reset();
    primaryLeft_ = false;
    atStart_.clear();
    covers_.clear();
    const auto index = primaryMonitorIndex(monitors);
    if (!index) return std::nullopt;
    const Monitor& primary = monitors[*index];
    // Monitors that show the same rectangle (mirrored) need one renderer between them.
    const bool anotherRect = std::any_of(monitors.begin(), monitors.end(),
                                         [&](const Monitor& m) { return m.rect != primary.rect; });
    if (!anotherRect) return std::nullopt;
    primary_ = primary;
    atStart_ = monitors;
    return primary.rect;
}

bool MonitorCover::known(const Monitor& monitor) const {
    if (primary_ && !primaryLeft_ && monitor.rect == primary_->rect) return true;
    return std::any_of(covers_.begin(), covers_.end(), [&](const Cover& c) {
        return c.monitor.rect == monitor.rect && (c.running || sameMonitor(c.monitor, monitor));
    });
}

void MonitorCover::cover(MonitorRendererServices& services, const Monitor& monitor) {
    Cover entry{monitor, services.startRendererOn(monitor.rect), false};
    entry.running = entry.id >= 0;
    covers_.push_back(entry);
}

void MonitorCover::coverOthers(MonitorRendererServices& services) {
    if (!active()) return;
    for (const Monitor& monitor : atStart_) {
        if (!known(monitor)) cover(services, monitor);
    }
    atStart_.clear();
}

MonitorCover::Verdict MonitorCover::tick(MonitorRendererServices& services, RendererState primary) {
    if (!active()) return Verdict::Going;
    if (primary == RendererState::EndedNormally) return Verdict::EndShow;
    for (Cover& c : covers_) {
        if (!c.running) continue;
        switch (services.rendererOnState(c.id)) {
        case RendererState::Running: break;
        case RendererState::EndedNormally: return Verdict::EndShow;
        // Not started again: a renderer that fails once on a monitor would fail again.
        case RendererState::Failed: c.running = false; break;
        }
    }

    const std::vector<Monitor> now = services.monitors();
    // A server that cannot list its monitors at this moment has not lost them all.
    if (now.empty()) return Verdict::Going;
    // The primary renderer's monitor that went has taken nothing with it: the window manager
    // moves that renderer onto another monitor, and does not bring it back. Should the
    // monitor come again, it is covered like any other.
    if (std::none_of(now.begin(), now.end(),
                     [&](const Monitor& m) { return sameMonitor(m, *primary_); })) {
        primaryLeft_ = true;
    }
    // A monitor that went is forgotten, so it is covered again should it come back.
    std::erase_if(covers_, [&](const Cover& c) {
        const bool gone = std::none_of(now.begin(), now.end(),
                                       [&](const Monitor& m) { return sameMonitor(m, c.monitor); });
        if (gone && c.running) services.stopRendererOn(c.id);
        return gone;
    });
    for (const Monitor& monitor : now) {
        if (!known(monitor)) cover(services, monitor);
    }
    return Verdict::Going;
}

bool MonitorCover::othersRunning() const {
    return std::any_of(covers_.begin(), covers_.end(), [](const Cover& c) { return c.running; });
}

}  // namespace quorlane

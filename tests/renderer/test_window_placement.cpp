// Where the renderer's window opens, alone and on one monitor of several.
#include <gtest/gtest.h>

#include <cstdlib>

#include "renderer/core/window_placement.h"

namespace quorlane {
namespace {

TEST(WindowPlacement, AloneInTheCornerOnAMonitorWhollyOnIt) {
    struct Case {
        const char* name;
        std::optional<MonitorRect> monitor;
        int x, y, width, height;
    };
    const Case cases[] = {
        {"alone", std::nullopt, 0, 0, 800, 600},
        {"right of the primary", MonitorRect{1280, 0, 1280, 1024}, 1280, 0, 800, 600},
        {"left of and above", MonitorRect{-1024, -100, 1024, 768}, -1024, -100, 800, 600},
        // Smaller than the usual first window: it must not reach the next monitor.
        {"narrow", MonitorRect{640, 0, 640, 1080}, 640, 0, 640, 600},
        {"low", MonitorRect{0, 1080, 1920, 400}, 0, 1080, 800, 400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowPlacement placement = windowPlacement(c.monitor);
        EXPECT_EQ(placement.x, c.x);
        EXPECT_EQ(placement.y, c.y);
        EXPECT_EQ(placement.width, c.width);
        EXPECT_EQ(placement.height, c.height);
        // Without a manager to make it full screen, the window takes the whole monitor.
        EXPECT_EQ(placement.unmanaged, c.monitor);
    }
}

TEST(WindowPlacement, TheMonitorComesFromTheEnvironmentWhenWellFormed) {
    ::unsetenv("QUORLANE_MONITOR");
    EXPECT_EQ(monitorFromEnvironment(), std::nullopt);
    ::setenv("QUORLANE_MONITOR", "1280x1024+1280+0", 1);
    EXPECT_EQ(monitorFromEnvironment(), (MonitorRect{1280, 0, 1280, 1024}));
    ::setenv("QUORLANE_MONITOR", "somewhere", 1);
    EXPECT_EQ(monitorFromEnvironment(), std::nullopt);
    ::unsetenv("QUORLANE_MONITOR");
}

}  // namespace
}  // namespace quorlane

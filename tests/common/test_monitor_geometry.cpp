// The monitor line the shell hands a renderer, read back as the renderer reads it, and which
// monitor counts as the primary one.
#include <gtest/gtest.h>

#include "common/monitor_geometry.h"

namespace quorlane {
namespace {

TEST(MonitorGeometry, TextIsXsGeometryFormAndReadsBackExactly) {
    struct Case {
        const char* text;
        std::optional<MonitorRect> rect;
    };
    const Case cases[] = {
        {"1280x1024+1280+0", MonitorRect{1280, 0, 1280, 1024}},
        {"960x1080+0+0", MonitorRect{0, 0, 960, 1080}},
        {"1280x1024+-1280+-200", MonitorRect{-1280, -200, 1280, 1024}},  // left of and above
        {"1x1+0+0", MonitorRect{0, 0, 1, 1}},
        // Anything else is no monitor: the renderer then fills the screen as alone.
        {"", std::nullopt},
        {"0x1024+0+0", std::nullopt},
        {"1280x0+0+0", std::nullopt},
        {"-1280x1024+0+0", std::nullopt},
        {"1280x-1024+0+0", std::nullopt},
        {"1280x1024+0", std::nullopt},
        {"1280x1024+0+0 ", std::nullopt},
        {" 1280x1024+0+0", std::nullopt},
        {"1280X1024+0+0", std::nullopt},
        {"1280x1024-0-0", std::nullopt},
        {"1280x1024++0+0", std::nullopt},
        {"99999999999x1024+0+0", std::nullopt},
        {"1280/338x1024/270+0+0", std::nullopt},  // xrandr's own form, with millimetres
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseMonitorGeometry(c.text), c.rect);
        if (c.rect) {
            EXPECT_EQ(monitorGeometryText(*c.rect), c.text);
        }
    }
}

TEST(MonitorGeometry, ThePrimaryIsTheFlaggedMonitorElseTheFirst) {
    const Monitor a{"A", {0, 0, 640, 480}, false};
    const Monitor b{"B", {640, 0, 640, 480}, false};
    const Monitor flagged{"P", {1280, 0, 640, 480}, true};
    EXPECT_EQ(primaryMonitorIndex({}), std::nullopt);
    EXPECT_EQ(primaryMonitorIndex({a}), 0u);
    EXPECT_EQ(primaryMonitorIndex({a, b}), 0u);
    EXPECT_EQ(primaryMonitorIndex({a, b, flagged}), 2u);
    EXPECT_EQ(primaryMonitorIndex({flagged, a}), 0u);
}

}  // namespace
}  // namespace quorlane

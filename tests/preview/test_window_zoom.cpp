// The zoom's rectangles: where an opening or closing animation starts and ends, and the
// frames in between.
#include <gtest/gtest.h>

#include "shell/core/window_zoom.h"

namespace quorlane {
namespace {

TEST(WindowZoom, OpenAndCloseRunBetweenTheAnchorPointAndTheWindow) {
    const ZoomRect window{300, 200, 700, 500};

    // Never set: the anchor is the screen's top-left corner, both ways.
    EXPECT_EQ(zoomOpenPath(zoomAnchor(), window), (ZoomPath{{0, 0, 0, 0}, {300, 200, 700, 500}}));
    EXPECT_EQ(zoomClosePath(window, zoomAnchor()), (ZoomPath{{300, 200, 700, 500}, {0, 0, 0, 0}}));

    // Set once when the window opens: it closes back into the same point.
    zoomAnchor() = {37, 410};
    EXPECT_EQ(zoomOpenPath(zoomAnchor(), window),
              (ZoomPath{{37, 410, 37, 410}, {300, 200, 700, 500}}));
    EXPECT_EQ(zoomClosePath(window, zoomAnchor()),
              (ZoomPath{{300, 200, 700, 500}, {37, 410, 37, 410}}));

    // A window whose rectangle could not be read is the corner point.
    EXPECT_EQ(zoomOpenPath(zoomAnchor(), ZoomRect{}), (ZoomPath{{37, 410, 37, 410}, {0, 0, 0, 0}}));
    zoomAnchor() = {};
}

TEST(WindowZoom, FramesMoveEveryEdgeLinearlyAndEndExactly) {
    const ZoomPath open{{100, 50, 100, 50}, {300, 200, 700, 500}};
    struct Case {
        int step;
        ZoomRect expected;
    };
    const Case cases[] = {
        {0, {100, 50, 100, 50}},   {3, {150, 88, 250, 163}},  // 87.5 and 162.5 round up
        {6, {200, 125, 400, 275}}, {11, {283, 188, 650, 463}}, {12, {300, 200, 700, 500}},
        {-4, {100, 50, 100, 50}},  {40, {300, 200, 700, 500}},  // held at the ends
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        EXPECT_EQ(zoomFrame(open, c.step, 12), c.expected);
    }

    // Closing into a point left of and above the screen, and far-apart coordinates that
    // would overflow if multiplied out in ints.
    const ZoomPath close{{-100, -40, 1820, 1040}, {-20, -10, -20, -10}};
    EXPECT_EQ(zoomFrame(close, 2, 4), (ZoomRect{-60, -25, 900, 515}));
    const ZoomPath wide{{-2000000000, 0, 2000000000, 0}, {2000000000, 0, -2000000000, 0}};
    EXPECT_EQ(zoomFrame(wide, 1, 4), (ZoomRect{-1000000000, 0, 1000000000, 0}));

    // The default animation starts at the start and ends at the end.
    EXPECT_EQ(zoomFrame(open, 0), open.from);
    EXPECT_EQ(zoomFrame(open, kZoomSteps), open.to);
}

}  // namespace
}  // namespace quorlane

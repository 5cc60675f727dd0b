#pragma once
// Where one output lies in a screenshot of the whole layout. A desktop portal answers with a
// picture of every output side by side; the show wants the one output that stands for the
// primary screen, as the X capture takes.
#include <optional>
#include <vector>

#include "common/monitor_geometry.h"

namespace quorlane {

// The chosen output's rectangle in the picture's pixels, given every output's rectangle in the
// layout (logical units) and the picture's size, which may be scaled from the layout's. Nothing
// when the picture is not of that layout's proportions or the output is not within it.
std::optional<MonitorRect> outputRegionInScreenshot(const std::vector<MonitorRect>& outputs,
                                                    const MonitorRect& chosen, int pictureWidth,
                                                    int pictureHeight);

}  // namespace quorlane

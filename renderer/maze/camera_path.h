#pragma once
// The camera's eye and look paths: three blended-parabola curves through 3D samples.
#include <vector>

#include "renderer/maze/path_curve.h"

namespace quorlane {

struct Point3 {
    double x = 0, y = 0, z = 0;
};

class CameraPath {
public:
    explicit CameraPath(const std::vector<Point3>& samples);  // at least 3 samples
    Point3 at(double t) const;

private:
    PathCurve x_, y_, z_;
};

const std::vector<Point3>& eyePathSamples();   // 17 samples
const std::vector<Point3>& lookPathSamples();  // 17 samples

}  // namespace quorlane

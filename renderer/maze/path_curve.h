#pragma once
// One coordinate of a camera path: parabolas through each three consecutive samples,
// cross-faded where they overlap.
#include <vector>

namespace quorlane {

struct PathSegment {
    double x0, x1, x2;
    double y0, y1, y2;
    double centreValue;
    double slope;
    double curvature;
    double at(double t) const;
};

PathSegment makePathSegment(double x0, double y0, double x1, double y1, double x2, double y2);

class PathCurve {
public:
    PathCurve() = default;
    explicit PathCurve(const std::vector<double>& samples);  // sample i at parameter i
    double at(double t) const;
    const std::vector<PathSegment>& segments() const { return segments_; }

private:
    std::vector<PathSegment> segments_;
};

}  // namespace quorlane

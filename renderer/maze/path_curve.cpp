#include "renderer/maze/path_curve.h"

#include <cstddef>

namespace quorlane {

PathSegment makePathSegment(double x0, double y0, double x1, double y1, double x2, double y2) {
    PathSegment s{};
    s.x0 = x0;
    s.x1 = x1;
    s.x2 = x2;
    s.y0 = y0;
    s.y1 = y1;
    s.y2 = y2;
    const double d1 = (y1 - y0) / (x1 - x0);
    const double d2 = (y2 - y1) / (x2 - x1);
    // Slope at the middle sample: the two chord slopes weighted by the opposite interval.
    s.slope = d1 * (x2 - x1) / (x2 - x0) + d2 * (x1 - x0) / (x2 - x0);
    s.curvature = 2.0 * (d2 - d1) / (x2 - x0);
    s.centreValue = y1;
    return s;
}

double PathSegment::at(double t) const {
    const double u = t - x1;
    return centreValue + u * (slope + 0.5 * curvature * u);
}

PathCurve::PathCurve(const std::vector<double>& samples) {
    const std::size_t n = samples.size();
    if (n >= 3) {
        segments_.reserve(n - 2);
        for (std::size_t k = 0; k + 2 < n; ++k) {
            const double x = static_cast<double>(k);
            segments_.push_back(
                makePathSegment(x, samples[k], x + 1.0, samples[k + 1], x + 2.0, samples[k + 2]));
        }
    } else if (n == 2) {
        // Too few samples for a parabola: the straight line through both keeps the curve
        // defined instead of reading past the samples.
        segments_.push_back(
            makePathSegment(0.0, samples[0], 1.0, samples[1], 2.0, 2.0 * samples[1] - samples[0]));
    } else if (n == 1) {
        segments_.push_back(makePathSegment(-1.0, samples[0], 0.0, samples[0], 1.0, samples[0]));
    }
}

double PathCurve::at(double t) const {
    const std::size_t m = segments_.size();
    if (m == 0) return 0.0;

    // Where two parabolas overlap, fade linearly from the earlier to the later one.
    for (std::size_t k = 0; k + 1 < m; ++k) {
        const PathSegment& s = segments_[k];
        const PathSegment& n = segments_[k + 1];
        if (s.x0 < t && t < s.x2 && n.x0 < t && t < n.x2) {
            const double a = n.x0;
            const double b = s.x2;
            return (b - t) / (b - a) * s.at(t) + (t - a) / (b - a) * n.at(t);
        }
    }
    if (t < segments_.front().x2) return segments_.front().at(t);
    if (t > segments_.back().x0) return segments_.back().at(t);

    // Exactly on an inner sample: both fades meet there, so give the sample itself.
    for (const PathSegment& s : segments_) {
        if (s.x1 == t) return s.y1;
    }
    return segments_.front().at(t);  // unreachable for ordered samples; NaN stays NaN
}

}  // namespace quorlane

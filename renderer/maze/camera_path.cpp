#include "renderer/maze/camera_path.h"

namespace quorlane {

namespace {

std::vector<double> component(const std::vector<Point3>& points, double Point3::*axis) {
    std::vector<double> values;
    values.reserve(points.size());
    for (const Point3& p : points) values.push_back(p.*axis);
    return values;
}

}  // namespace

CameraPath::CameraPath(const std::vector<Point3>& samples)
    : x_(component(samples, &Point3::x)),
      y_(component(samples, &Point3::y)),
      z_(component(samples, &Point3::z)) {}

Point3 CameraPath::at(double t) const { return Point3{x_.at(t), y_.at(t), z_.at(t)}; }

const std::vector<Point3>& eyePathSamples() {
    // Room 1, through rooms 2 and 3 down into room 4, out to room 5 and back, then down the
    // -z tunnel of room 1.
    static const std::vector<Point3> samples = {
        {0, 0, 0},        {0, 0, 2.7},      {0, 0, 5.4},      {2.7, 0, 5.4},     {5.4, 0, 5.4},
        {5.4, -5.4, 5.4}, {4.2, -5.4, 6.4}, {5.4, -5.4, 5.4}, {10.8, -5.4, 5.4}, {7.4, -5.4, 5.4},
        {4.2, -5.4, 6.4}, {5.4, -5.4, 5.4}, {5.4, 0, 5.4},    {2.7, 0, 5.4},     {0, 0, 5.4},
        {0, 0, 2.7},      {0, 0, 0},
    };
    return samples;
}

const std::vector<Point3>& lookPathSamples() {
    static const std::vector<Point3> samples = {
        {1.9, -1.9, -1.9},
        {-1.9, 0, 0},
        {-2.533333333333333, 1.75, 5.4},
        {1.9, -1.75, 2.7},
        {4.4, -10.8, 4.4},
        {5.4, -5.4, 2.7},
        {10.8, -5.4, 5.4},
        {7.4, -5.4, 10.8},
        {10.8, -3.4, 6.4},
        {5.4, -5.4, 2.7},
        {4.4, -10.8, 4.4},
        {1.9, -1.75, 2.7},
        {-2.533333333333333, 1.75, 5.4},
        {-1.9, 0, 0},
        {1.9, 1.9, -1.9},
        {-5.4, 0, 0},
        {0, 0, -5.4},
    };
    return samples;
}

}  // namespace quorlane

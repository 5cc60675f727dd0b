// The camera curves: parabolas through three samples, cross-faded where they overlap.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "renderer/maze/camera_path.h"
#include "renderer/maze/path_curve.h"

namespace quorlane {
namespace {

// The parabola through three points, written independently of the code under test.
double lagrange(double x0, double y0, double x1, double y1, double x2, double y2, double t) {
    return y0 * (t - x1) * (t - x2) / ((x0 - x1) * (x0 - x2)) +
           y1 * (t - x0) * (t - x2) / ((x1 - x0) * (x1 - x2)) +
           y2 * (t - x0) * (t - x1) / ((x2 - x0) * (x2 - x1));
}

// Parabola k of a curve whose samples sit at whole parameters.
double parabola(const std::vector<double>& v, int k, double t) {
    return lagrange(k, v[k], k + 1, v[k + 1], k + 2, v[k + 2], t);
}

std::vector<double> axis(const std::vector<Point3>& points, double Point3::*c) {
    std::vector<double> out;
    for (const Point3& p : points) out.push_back(p.*c);
    return out;
}

TEST(PathSegment, IsTheParabolaThroughItsSamplesEvenWithUnevenSpacing) {
    const PathSegment s = makePathSegment(-1.0, 4.0, 0.5, -2.0, 3.0, 7.5);
    EXPECT_DOUBLE_EQ(s.centreValue, -2.0);
    for (double t : {-3.0, -1.0, 0.0, 0.5, 1.7, 3.0, 6.0}) {
        EXPECT_NEAR(s.at(t), lagrange(-1.0, 4.0, 0.5, -2.0, 3.0, 7.5, t), 1e-12) << "t=" << t;
    }
    // Derivatives of that parabola at the middle sample.
    const double h = 1e-5;
    const double exact = lagrange(-1.0, 4.0, 0.5, -2.0, 3.0, 7.5, 0.5 + h) -
                         lagrange(-1.0, 4.0, 0.5, -2.0, 3.0, 7.5, 0.5 - h);
    EXPECT_NEAR(s.slope, exact / (2 * h), 1e-6);
    EXPECT_NEAR(s.curvature, 2.0 * (7.5 / (4.0 * 2.5) - (-2.0) / (1.5 * 2.5) + 4.0 / (1.5 * 4.0)),
                1e-12);
}

// Where the eye is and where it looks, at sample parameters (whole ones land on the designed
// samples) and between them. Computed once from the flight as designed, by printing
// CameraPath::at over eyePathSamples() and lookPathSamples() with %.17g, and kept here so that
// a changed table or curve shows up.
struct CourseSample {
    double t;
    Point3 eye, look;
};
const CourseSample kCourse[] = {
    {0, {0, 0, 0}, {1.8999999999999999, -1.8999999999999999, -1.9000000000000001}},
    {0.5,
     {0, 0, 1.3500000000000001},
     {-0.39583333333333326, -0.93124999999999991, -1.3875000000000002}},
    {2, {0, 0, 5.4000000000000004}, {-2.5333333333333332, 1.75, 5.4000000000000004}},
    {3.25,
     {3.4382812500000002, 0.12656249999999997, 5.4000000000000004},
     {2.6960937499999997, -3.9609375, 2.8953125000000002}},
    {5.5,
     {4.7249999999999996, -5.7375000000000007, 5.9625000000000004},
     {8.375, -5.0625, 3.6062500000000002}},
    {6,
     {4.2000000000000002, -5.4000000000000004, 6.4000000000000004},
     {10.800000000000001, -5.4000000000000004, 5.4000000000000004}},
    {7.75,
     {9.9703125000000004, -5.4000000000000004, 5.3765625000000004},
     {10.409375000000001, -3.6656249999999999, 7.6804687500000011}},
    {9.5,
     {5.5125000000000002, -5.4000000000000004, 5.9625000000000004},
     {4.71875, -8.7906250000000004, 3.4250000000000003}},
    {12,
     {5.4000000000000004, 0, 5.4000000000000004},
     {-2.5333333333333332, 1.75, 5.4000000000000004}},
    {14.4,
     {-0.19439999999999996, 0, 4.5143999999999993},
     {-0.8304000000000038, 1.3223999999999991, -1.0631999999999988}},
    {16, {0, 0, 0}, {0, 0, -5.4000000000000004}},
};

TEST(CameraPath, FliesTheDesignedCourse) {
    ASSERT_EQ(eyePathSamples().size(), 17u);
    ASSERT_EQ(lookPathSamples().size(), 17u);
    const CameraPath eye(eyePathSamples()), look(lookPathSamples());
    for (const CourseSample& s : kCourse) {
        SCOPED_TRACE(s.t);
        const Point3 e = eye.at(s.t), l = look.at(s.t);
        EXPECT_NEAR(e.x, s.eye.x, 1e-12);
        EXPECT_NEAR(e.y, s.eye.y, 1e-12);
        EXPECT_NEAR(e.z, s.eye.z, 1e-12);
        EXPECT_NEAR(l.x, s.look.x, 1e-12);
        EXPECT_NEAR(l.y, s.look.y, 1e-12);
        EXPECT_NEAR(l.z, s.look.z, 1e-12);
    }
}

TEST(PathCurve, InnerSamplesComeBackStoredNotRecomputed) {
    // A parabola evaluated at its outer samples rounds (0.29999999999999993 for 0.3 here), and
    // a neighbouring parabola can overflow; an inner whole parameter must still give the sample.
    const PathCurve rounding({0.1, 0.7, 0.3, 0.9, 0.1, 0.7, 0.3});
    EXPECT_EQ(rounding.at(2.0), 0.3);
    EXPECT_EQ(rounding.at(3.0), 0.9);
    EXPECT_EQ(rounding.at(4.0), 0.1);
    const PathCurve huge({0.0, -1e308, 1e308, 0.0, 0.0});
    EXPECT_EQ(huge.at(2.0), 1e308);
}

TEST(PathCurve, OverlapsFadeLinearlyFromTheEarlierToTheLaterParabola) {
    const std::vector<double> v = axis(lookPathSamples(), &Point3::x);
    const PathCurve curve(v);
    ASSERT_EQ(curve.segments().size(), 15u);
    for (int k = 0; k <= 13; ++k) {
        for (double f : {0.1, 0.25, 0.5, 0.9}) {
            const double t = k + 1 + f;
            const double expected = (1 - f) * parabola(v, k, t) + f * parabola(v, k + 1, t);
            EXPECT_NEAR(curve.at(t), expected, 1e-9) << "t=" << t;
        }
    }
}

TEST(PathCurve, FirstAndLastStretchesAndBeyondUseOneParabola) {
    const std::vector<double> v = axis(lookPathSamples(), &Point3::y);
    const PathCurve curve(v);
    for (double t : {-4.0, -0.5, 0.3, 0.7}) {
        EXPECT_NEAR(curve.at(t), parabola(v, 0, t), 1e-9) << "t=" << t;
    }
    for (double t : {15.3, 15.7, 16.5, 18.0, 25.0}) {
        EXPECT_NEAR(curve.at(t), parabola(v, 14, t), 1e-9) << "t=" << t;
    }
}

TEST(CameraPath, EyeRunsOnDownTheTunnelAtTheEndOfARun) {
    const CameraPath eye(eyePathSamples());
    const Point3 end = eye.at(42.55 * 0.399);
    EXPECT_NEAR(end.x, 0.0, 1e-12);
    EXPECT_NEAR(end.y, 0.0, 1e-12);
    EXPECT_NEAR(end.z, -2.639115, 1e-6);

    const CameraPath look(lookPathSamples());
    const Point3 aside = look.at(42.55 * 0.399);
    EXPECT_NEAR(aside.x, 17.55, 0.01);
    EXPECT_NEAR(aside.y, 1.84, 0.01);
    EXPECT_NEAR(aside.z, -17.73, 0.01);
}

TEST(CameraPath, IsContinuousAcrossWholeParameters) {
    for (const auto* table : {&eyePathSamples(), &lookPathSamples()}) {
        const CameraPath path(*table);
        for (int i = 1; i <= 16; ++i) {
            const double e = 1e-7;
            const Point3 below = path.at(i - e);
            const Point3 above = path.at(i + e);
            // The samples move at most ~20 units per step, so 2e-7 of travel is ~4e-6.
            EXPECT_NEAR(below.x, above.x, 1e-5) << "i=" << i;
            EXPECT_NEAR(below.y, above.y, 1e-5) << "i=" << i;
            EXPECT_NEAR(below.z, above.z, 1e-5) << "i=" << i;
        }
    }
}

TEST(PathCurve, TooFewSamplesStayDefined) {
    EXPECT_EQ(PathCurve().at(3.0), 0.0);
    EXPECT_EQ(PathCurve({2.5}).at(-7.0), 2.5);
    const PathCurve line({1.0, 3.0});
    EXPECT_DOUBLE_EQ(line.at(0.0), 1.0);
    EXPECT_DOUBLE_EQ(line.at(1.0), 3.0);
    EXPECT_DOUBLE_EQ(line.at(4.0), 9.0);
}

}  // namespace
}  // namespace quorlane

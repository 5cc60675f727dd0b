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

// The flight's samples as designed, typed here rather than read from the code.
const double kEye[17][3] = {{0, 0, 0},         {0, 0, 2.7},      {0, 0, 5.4},      {2.7, 0, 5.4},
                            {5.4, 0, 5.4},     {5.4, -5.4, 5.4}, {4.2, -5.4, 6.4}, {5.4, -5.4, 5.4},
                            {10.8, -5.4, 5.4}, {7.4, -5.4, 5.4}, {4.2, -5.4, 6.4}, {5.4, -5.4, 5.4},
                            {5.4, 0, 5.4},     {2.7, 0, 5.4},    {0, 0, 5.4},      {0, 0, 2.7},
                            {0, 0, 0}};
const double kLook[17][3] = {{1.9, -1.9, -1.9},
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
                             {0, 0, -5.4}};

TEST(CameraPath, PassesThroughEverySampleOfBothTables) {
    ASSERT_EQ(eyePathSamples().size(), 17u);
    ASSERT_EQ(lookPathSamples().size(), 17u);
    const CameraPath eye(eyePathSamples()), look(lookPathSamples());
    for (int i = 0; i <= 16; ++i) {
        const Point3 e = eye.at(i), l = look.at(i);
        // The eye lands on its samples bit for bit; at the two outer samples the look path's
        // value comes out of a parabola's arithmetic and may differ in the last bit.
        const double tol = i >= 1 && i <= 15 ? 0.0 : 1e-14;
        EXPECT_EQ(e.x, kEye[i][0]) << "eye " << i;
        EXPECT_EQ(e.y, kEye[i][1]) << "eye " << i;
        EXPECT_EQ(e.z, kEye[i][2]) << "eye " << i;
        EXPECT_NEAR(l.x, kLook[i][0], tol) << "look " << i;
        EXPECT_NEAR(l.y, kLook[i][1], tol) << "look " << i;
        EXPECT_NEAR(l.z, kLook[i][2], tol) << "look " << i;
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

#include <gtest/gtest.h>

#include "view3d/lists/CubicSpline.h"

namespace {

TEST(CubicSpline, InterpolatesAndExtrapolatesEachArray)
{
    // Equal steps give a straight line: its slope is the solved derivative everywhere.
    const TCubicSpline line({0, 1, 2}, {4, 2, 0}, {}, {7});
    const struct {
        float T;
        float X;
        float Y;
    } cases[] = {{0, 0, 4}, {1, 1, 2}, {1.5f, 1.5f, 1}, {2, 2, 0}, {3, 3, -2}, {-1, -1, 6}};
    for (const auto& c : cases) {
        EXPECT_NEAR(line.SplineX(c.T), c.X, 1e-6f) << c.T;
        EXPECT_NEAR(line.SplineY(c.T), c.Y, 1e-6f) << c.T;
        EXPECT_EQ(line.SplineZ(c.T), 0.0f);
        // One value cannot be fitted: it stays a constant, read from nowhere else.
        EXPECT_EQ(line.SplineW(c.T), 7.0f);
    }

    // Through 0, 1, 0, 1 at t = 0..3: the knots themselves, and a curve
    // symmetric about the middle segment.
    const TCubicSpline wave({0, 1, 0, 1}, {}, {}, {});
    for (int t = 0; t < 4; ++t)
        EXPECT_NEAR(wave.SplineX(static_cast<float>(t)), t % 2, 1e-5f) << t;
    EXPECT_NEAR(wave.SplineX(1.25f) + wave.SplineX(1.75f), 1.0f, 1e-5f);
    EXPECT_GT(wave.SplineX(0.75f), 0.75f);
    float x = 0;
    float y = 0;
    float z = 0;
    wave.SplineXYZ(3, x, y, z);
    EXPECT_NEAR(x, 1, 1e-5f);
    const Vector3f end = line.SplineVector(2);
    EXPECT_NEAR(end.X, 2, 1e-6f);
    EXPECT_NEAR(end.Y, 0, 1e-6f);
    EXPECT_EQ(end.Z, 0);
}

} // namespace

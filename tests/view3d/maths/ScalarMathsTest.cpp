#include <cmath>
#include <limits>
#include <numbers>

#include <gtest/gtest.h>

#include "view3d/maths/ScalarMaths.h"

namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float PiF = std::numbers::pi_v<float>;

TEST(ScalarMaths, NormalizeDegAngleFoldsIntoHalfTurns)
{
    const struct {
        float In;
        float Out;
    } cases[] = {{190, -170}, {-190, 170}, {540, 180}, {-540, -180}, {180, 180},
                 {-180, -180}, {360, 0},   {725, 5},   {-725, -5},   {0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(NormalizeDegAngle(c.In), c.Out) << c.In;
}

TEST(ScalarMaths, PowerTakesEachPath)
{
    const struct {
        float Base;
        float Exponent;
        float Out;
    } cases[] = {
        {2, 0.5f, std::numbers::sqrt2_v<float>}, {0, 3, 0}, {0, -1, Inf}, {7, 0, 1}, {0, 0, 1},
        {2, -2, 0.25f}, {-2, 3, -8}, {10, 10, 1e10f}, {9, 1.5f, 27},
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(Power(c.Base, c.Exponent), c.Out) << c.Base << "^" << c.Exponent;
    EXPECT_FLOAT_EQ(IntPower(2, -3), 0.125f);
    EXPECT_FLOAT_EQ(IntPower(3, 4), 81);
    EXPECT_EQ(IntPower(2, std::numeric_limits<int>::min()), 0.0f);
}

// A cosine computed from a dot product of unit vectors can land just past 1:
// it must still give an angle, and a true arc-cosine at that.
TEST(ScalarMaths, ArcCosineIsTrueAndClamped)
{
    const struct {
        float In;
        float Out;
    } cases[] = {{1, 0}, {1.0000001f, 0}, {-1.0000001f, PiF}, {0.5f, PiF / 3}, {0, PiF / 2}, {-0.5f, 2 * PiF / 3}};
    for (const auto& c : cases)
        EXPECT_NEAR(ArcCosine(c.In), c.Out, 1e-6f) << c.In;
}

TEST(ScalarMaths, RoundingTruncationAndClamping)
{
    EXPECT_EQ(RoundSingle(2.5f), 2);
    EXPECT_EQ(RoundSingle(3.5f), 4);
    EXPECT_EQ(RoundSingle(-2.5f), -2);
    EXPECT_EQ(TruncSingle(-2.7f), -2);
    EXPECT_EQ(TruncSingle(2.7f), 2);
    EXPECT_EQ(TruncSingle(1e20f), std::numeric_limits<int>::max());
    EXPECT_EQ(TruncSingle(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(ClampValue(-1, 0, 1), 0);
    EXPECT_EQ(ClampValue(2, 0, 1), 1);
    EXPECT_EQ(ClampValue(0.5f, 0, 1), 0.5f);
    EXPECT_EQ(MaxInteger(-3, 2), 2);
    EXPECT_FLOAT_EQ(RSqrt(4), 0.5f);
    EXPECT_FLOAT_EQ(Tangent(PiF / 4), 1);
    float s = 0;
    float c = 0;
    SinCos(PiF / 6, s, c);
    EXPECT_FLOAT_EQ(s, 0.5f);
    EXPECT_FLOAT_EQ(c, std::sqrt(3.0f) / 2);
}

} // namespace

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "view3d/objects/HeightFieldSamples.h"
#include "view3d/objects/SamplingScale.h"
#include "view3d/objects/XYZGridLines.h"

namespace {

TEST(HeightFieldSamples, StripsCarryHeightsColoursTexturePointsAndNormals)
{
    const std::vector<float> xs{0, 1, 2};
    const std::vector<float> ys{0, 1, 2, 3};
    // A slope rising along X; the handler colours the right half red.
    const THeightFunction slope = [](float x, float, float& z, Vector4f& color, TTexPoint&) {
        z = x;
        if (x > 1)
            color = {1, 0, 0, 1};
    };
    std::vector<float> lowerYs;
    ForEachHeightFieldStrip(xs, ys, slope, {0, 2, 0, 3},
                            [&](std::span<const THeightFieldSample> lower, std::span<const THeightFieldSample> upper) {
                                ASSERT_EQ(lower.size(), 3u);
                                ASSERT_EQ(upper.size(), 3u);
                                lowerYs.push_back(lower[0].Position.Y);
                                EXPECT_FLOAT_EQ(upper[0].Position.Y, lower[0].Position.Y + 1);
                                for (const auto* row : {&lower, &upper})
                                    for (const THeightFieldSample& s : *row) {
                                        EXPECT_FLOAT_EQ(s.Position.Z, s.Position.X);
                                        EXPECT_NEAR(s.Normal.X, -std::sqrt(0.5f), 1e-6);
                                        EXPECT_NEAR(s.Normal.Y, 0.0f, 1e-6);
                                        EXPECT_NEAR(s.Normal.Z, std::sqrt(0.5f), 1e-6);
                                        EXPECT_FLOAT_EQ(s.TexPoint.S, s.Position.X / 2);
                                        EXPECT_FLOAT_EQ(s.TexPoint.T, s.Position.Y / 3);
                                        EXPECT_FLOAT_EQ(s.Color.Y, s.Position.X > 1 ? 0.0f : 0.8f);
                                    }
                            });
    EXPECT_EQ(lowerYs, (std::vector<float>{0, 1, 2}));

    int strips = 0;
    const auto count = [&](auto, auto) { ++strips; };
    ForEachHeightFieldStrip(xs, std::vector<float>{0}, slope, {}, count);
    ForEachHeightFieldStrip(std::vector<float>{}, ys, slope, {}, count);
    EXPECT_EQ(strips, 0);
}

void SetScale(TGLSamplingScale& scale, float min, float max, float origin, float step)
{
    scale.SetMax(max);
    scale.SetMin(min);
    scale.SetOrigin(origin);
    scale.SetStep(step);
}

TEST(XYZGridLines, PartsAndStylesDecideTheStrips)
{
    TGLSamplingScale x(nullptr), y(nullptr), z(nullptr);
    SetScale(x, 0, 1, 0, 0.5f);
    SetScale(y, 0, 2, 0, 1);
    SetScale(z, -1, 1, 0.25f, 1);

    const auto segments = XYZGridLineStrips(x, y, z, {}, TXYZGridLinesStyle::glsSegments);
    ASSERT_EQ(segments.size(), 6u);
    // X lines first, one per y at the Z origin, a vertex at every x step.
    EXPECT_FLOAT_EQ(segments[1][2].X, 1.0f);
    EXPECT_FLOAT_EQ(segments[1][2].Y, 1.0f);
    EXPECT_FLOAT_EQ(segments[1][2].Z, 0.25f);
    EXPECT_EQ(segments[0].size(), 3u);
    // Then Y lines, one per x step.
    EXPECT_FLOAT_EQ(segments[4][1].X, 0.5f);
    EXPECT_FLOAT_EQ(segments[4][1].Y, 1.0f);

    const auto lines = XYZGridLineStrips(x, y, z, {}, TXYZGridLinesStyle::glsLine);
    ASSERT_EQ(lines.size(), 6u);
    for (const auto& strip : lines)
        EXPECT_EQ(strip.size(), 2u);
    EXPECT_FLOAT_EQ(lines[3][1].Y, 2.0f);

    // Z alone: one strip at the X and Y origins, its steps aligned on the Z origin.
    const auto zOnly = XYZGridLineStrips(x, y, z, {false, false, true}, TXYZGridLinesStyle::glsSegments);
    ASSERT_EQ(zOnly.size(), 1u);
    ASSERT_EQ(zOnly[0].size(), 2u);
    EXPECT_FLOAT_EQ(zOnly[0][0].Z, -0.75f);
    EXPECT_FLOAT_EQ(zOnly[0][1].Z, 0.25f);

    // All three parts: the lines of each axis for every pair of the other two.
    const auto all = XYZGridLineStrips(x, y, z, {true, true, true}, TXYZGridLinesStyle::glsLine);
    EXPECT_EQ(all.size(), 3u * 2u + 3u * 2u + 3u * 3u);

    // A zero step draws single lines, never an endless loop.
    y.SetStep(0);
    EXPECT_EQ(XYZGridLineStrips(x, y, z, {}, TXYZGridLinesStyle::glsSegments).size(), 1u + 3u);
}

} // namespace

#include <gtest/gtest.h>

#include "view3d/notification/ConvertWinColor.h"

TEST(ConvertWinColor, PlainAndSystemColoursBecomeFourSingles)
{
    const struct {
        TColor Color;
        float Alpha;
        Vector4f Expected;
    } cases[] = {
        {0x0000FF, 0.5f, {1.0f, 0.0f, 0.0f, 0.5f}},
        {0x804020, 1.0f, {32 / 255.0f, 64 / 255.0f, 128 / 255.0f, 1.0f}},
        // The button face, the scene buffer's default background: a light grey.
        {static_cast<TColor>(0xFF00000Fu), 1.0f, {240 / 255.0f, 240 / 255.0f, 240 / 255.0f, 1.0f}},
        // An index no desktop knows.
        {static_cast<TColor>(0x800000FFu), 1.0f, {0.0f, 0.0f, 0.0f, 1.0f}},
    };
    for (const auto& c : cases) {
        const Vector4f v = ConvertWinColor(c.Color, c.Alpha);
        EXPECT_FLOAT_EQ(v.X, c.Expected.X) << std::hex << c.Color;
        EXPECT_FLOAT_EQ(v.Y, c.Expected.Y) << std::hex << c.Color;
        EXPECT_FLOAT_EQ(v.Z, c.Expected.Z) << std::hex << c.Color;
        EXPECT_EQ(v.W, c.Expected.W) << std::hex << c.Color;
    }
}

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/GLCallLog.h"
#include "view3d/material/RenderContextInfo.h"
#include "view3d/objects/HeightField.h"
#include "view3d/opengl/GLStateCache.h"

namespace {

using Calls = std::vector<std::string>;

long CountOf(const Calls& calls, const std::string& prefix)
{
    return std::count_if(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
}

class HeightFieldTest : public testing::Test {
protected:
    HeightFieldTest() { Rci.GLStates = &States; }

    Calls Draw()
    {
        Log.Take();
        Field.BuildList(Rci);
        return Log.Take();
    }

    void SetScales()
    {
        // Three x samples and two y samples: one strip of six vertices.
        Field.XSamplingScale().SetMax(1);
        Field.XSamplingScale().SetStep(0.5f);
        Field.YSamplingScale().SetMax(1);
        Field.YSamplingScale().SetStep(1);
    }

    TGLCallLog Log;
    TGLStateCache States;
    TRenderContextInfo Rci;
    TGLHeightField Field;
};

TEST_F(HeightFieldTest, NothingIsDrawnUntilBothScalesSpanARange)
{
    EXPECT_TRUE(Draw().empty());
    Field.XSamplingScale().SetMax(1);
    EXPECT_TRUE(Draw().empty());
    Field.YSamplingScale().SetMax(1);
    EXPECT_EQ(CountOf(Draw(), "Begin 0x5"), 10); // eleven rows of 0.1
}

TEST_F(HeightFieldTest, StripsSendNormalsPositionsAndWhatTheOptionsAsk)
{
    SetScales();
    Field.SetOnGetHeight([](float x, float y, float& z, Vector4f& color, TTexPoint&) {
        z = x + y;
        color = {0.25f, 0.5f, 0.75f, 1};
    });
    // Culling is switched off inside saved groups, so the cache, which
    // cannot follow a replayed display list, still tells the truth after.
    States.Enable(TGLState::stCullFace);
    const Calls plain = Draw();
    EXPECT_TRUE(States.Enabled(TGLState::stCullFace));
    EXPECT_EQ(CountOf(plain, "Begin 0x5"), 1);
    EXPECT_EQ(CountOf(plain, "Normal3fv"), 6);
    EXPECT_EQ(CountOf(plain, "Color4fv"), 0);
    EXPECT_EQ(CountOf(plain, "TexCoord2fv"), 0);
    // The upper row leads each pair, and every position has W = 1.
    const auto first = std::find_if(plain.begin(), plain.end(), [](const std::string& c) {
        return c.rfind("Vertex4fv", 0) == 0;
    });
    ASSERT_NE(first, plain.end());
    EXPECT_EQ(*first, "Vertex4fv 0 1 1 1");
    EXPECT_EQ(*(first + 2), "Vertex4fv 0 0 0 1");
    // Two-sided by default: no culling, the front polygon mode on both faces.
    EXPECT_NE(std::find(plain.begin(), plain.end(), "Disable 0xb44"), plain.end());
    EXPECT_NE(std::find(plain.begin(), plain.end(), "PolygonMode 0x408 0x1b02"), plain.end());

    Field.SetColorMode(THeightFieldColorMode::hfcmDiffuse);
    Field.SetOptions({true, false});
    const Calls colored = Draw();
    EXPECT_NE(std::find(colored.begin(), colored.end(), "ColorMaterial 0x408 0x1201"), colored.end());
    EXPECT_EQ(CountOf(colored, "Color4fv 0.25 0.5 0.75 1"), 6);
    EXPECT_EQ(CountOf(colored, "TexCoord2fv"), 6);
    EXPECT_EQ(std::find(colored.begin(), colored.end(), "Disable 0xb44"), colored.end());
    EXPECT_EQ(colored.front(), "PushAttrib 0x2048");
    EXPECT_EQ(colored.back(), "PopAttrib");
}

TEST_F(HeightFieldTest, TheSecondHandlerGetsTheFieldAndTheBuiltInSurfaceIsTheLastResort)
{
    SetScales();
    TGLHeightField* sender = nullptr;
    Field.SetOnGetHeight2([&](TGLHeightField& field, float, float, float& z, Vector4f&, TTexPoint&) {
        sender = &field;
        z = 2;
    });
    EXPECT_EQ(CountOf(Draw(), "Vertex4fv 0 0 2 1"), 1);
    EXPECT_EQ(sender, &Field);
    Field.SetOnGetHeight2({});
    // cos(0) / 2 at the origin.
    EXPECT_EQ(CountOf(Draw(), "Vertex4fv 0 0 0.5 1"), 1);
}

} // namespace

#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include "texture/TextureTestSupport.h"
#include "view3d/opengl/GLStateCache.h"
#include "view3d/texture/TextureEx.h"

namespace {

TEST(TextureEx, AppliesEnabledItemsOnTheUnitsTheDriverHas)
{
    const struct {
        const char* Extensions;
        int Units;
        int Applied;
    } cases[] = {{"", 4, 0}, {"GL_ARB_multitexture", 4, 2}, {"GL_ARB_multitexture", 2, 1}};
    for (const auto& c : cases) {
        TTextureCallLog log(c.Extensions);
        log.Answers[GL_MAX_TEXTURE_UNITS_ARB] = {double(c.Units)};
        TGLStateCache states;
        TGLTextureEx textures(nullptr);
        TGLTextureExItem& first = textures.Add();
        first.SetTextureIndex(1);
        first.Texture().SetImageClassName("TGLBlankImage");
        first.Texture().SetDisabled(false);
        TGLTextureExItem& second = textures.Add();
        second.SetTextureIndex(3);
        second.Texture().SetImageClassName("TGLBlankImage");
        second.Texture().SetDisabled(false);
        second.TextureScale().SetX(2);
        TGLTextureExItem& off = textures.Add();
        off.SetTextureIndex(2);
        const TGLTextureApplyInfo info{&states};
        log.Take();

        textures.Apply(info);
        auto calls = log.Take();
        const int row = int(&c - cases);
        EXPECT_EQ(CountCalls(calls, "PushMatrix"), c.Applied) << row;
        EXPECT_EQ(CountCalls(calls, CallText("ActiveTexture %#x", GL_TEXTURE0_ARB)), c.Applied) << row;
        EXPECT_EQ(HasCall(calls, CallText("ActiveTexture %#x", GL_TEXTURE1_ARB)), c.Applied >= 1) << row;
        EXPECT_EQ(HasCall(calls, CallText("ActiveTexture %#x", GL_TEXTURE2_ARB)), false) << "a disabled item";
        // Offset 0 and scale 1 load the identity; any other loads their matrix.
        EXPECT_EQ(CountCalls(calls, "LoadIdentity"), c.Applied >= 1 ? 1 : 0) << row;
        EXPECT_EQ(CountCalls(calls, "LoadMatrixf"), c.Applied >= 2 ? 1 : 0) << row;
        EXPECT_EQ(CountCalls(calls, CallText("Enable %#x", GL_TEXTURE_2D)), c.Applied) << row;

        textures.UnApply(info);
        calls = log.Take();
        EXPECT_EQ(CountCalls(calls, "PopMatrix"), c.Applied) << row;
        EXPECT_EQ(CountCalls(calls, CallText("Disable %#x", GL_TEXTURE_2D)), c.Applied) << row;
    }
}

TEST(TextureEx, ItemsNameTheirUnitAndSayWhichUnitsAreTaken)
{
    TGLTextureEx textures(nullptr);
    TGLTextureExItem& item = textures.Add();
    item.SetTextureIndex(-2);
    EXPECT_EQ(item.TextureIndex(), 0) << "never below 0";
    EXPECT_FALSE(textures.IsTextureEnabled(0)) << "a disabled texture takes no unit";
    item.Texture().SetDisabled(false);
    EXPECT_TRUE(textures.IsTextureEnabled(0));
    item.SetTextureIndex(1);
    EXPECT_EQ(item.DisplayName(), "Tex [1]");
    EXPECT_FALSE(textures.IsTextureEnabled(0));
    EXPECT_TRUE(textures.IsTextureEnabled(1));
}

} // namespace

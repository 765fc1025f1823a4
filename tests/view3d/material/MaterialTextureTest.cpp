// A material's texture and multi-texture collection around an object's
// drawing, through the recorder.

#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include "texture/TextureTestSupport.h"
#include "view3d/material/Material.h"
#include "view3d/material/RenderContextInfo.h"
#include "view3d/opengl/GLStateCache.h"
#include "view3d/texture/SizedImage.h"

namespace {

class TStructureCounter : public TGLUpdateAbleComponent {
public:
    void StructureChanged() override { ++Count; }
    int Count = 0;
};

// The texture is used unless the collection's item on unit 0 takes its place;
// the collection otherwise. Unapply undoes just what apply did: a disabled
// texture with a collection beside it pops no matrix that was never pushed.
TEST(MaterialTexture, TheTextureOrTheCollectionIsAppliedAndUnapplied)
{
    const struct {
        bool Texture;
        bool TextureEnabled;
        int CollectionUnit; // -1: no collection
        int TextureBinds, CollectionBinds;
    } cases[] = {
        {false, false, -1, 0, 0}, {true, true, -1, 1, 0}, {true, true, 1, 1, 0},
        {true, true, 0, 0, 1},    {false, false, 1, 0, 1}, {true, false, 1, 0, 0},
    };
    for (const auto& c : cases) {
        TTextureCallLog log("GL_ARB_multitexture");
        log.Answers[GL_MAX_TEXTURE_UNITS_ARB] = {4};
        TGLStateCache states;
        TRenderContextInfo rci;
        rci.GLStates = &states;
        TGLMaterial material(nullptr);
        if (c.Texture) {
            material.Texture().SetImageClassName("TGLBlankImage");
            material.Texture().SetDisabled(!c.TextureEnabled);
        }
        if (c.CollectionUnit >= 0) {
            TGLTextureExItem& item = material.TextureEx().Add();
            item.SetTextureIndex(c.CollectionUnit);
            item.Texture().SetImageClassName("TGLBlankImage");
            item.Texture().SetDisabled(false);
        }
        log.Take();
        material.Apply(rci);
        auto calls = log.Take();
        const int row = int(&c - cases);
        EXPECT_EQ(CountCalls(calls, "GenTextures"), c.TextureBinds + c.CollectionBinds) << row;
        EXPECT_EQ(CountCalls(calls, "PushMatrix"), c.CollectionBinds) << row;
        material.Unapply(rci);
        calls = log.Take();
        EXPECT_EQ(CountCalls(calls, "PopMatrix"), c.CollectionBinds) << row;
        EXPECT_EQ(CountCalls(calls, CallText("Disable %#x", GL_TEXTURE_2D)), c.TextureBinds + c.CollectionBinds)
            << row;
    }
}

TEST(MaterialTexture, SwitchingTheTextureRebuildsTheObjectAndCopiesGoAlong)
{
    TTextureCallLog log;
    TStructureCounter object;
    TGLMaterial material(&object);
    EXPECT_EQ(material.ExistingTexture(), nullptr) << "made only on first use";
    material.Texture().SetDisabled(false);
    EXPECT_EQ(object.Count, 1);
    material.Texture().SetDisabled(true);
    EXPECT_EQ(object.Count, 2);

    material.Texture().SetMinFilter(TGLMinFilter::miNearest);
    material.TextureEx().Add().SetTextureIndex(2);
    TGLMaterial copy(nullptr);
    copy.Assign(material);
    ASSERT_NE(copy.ExistingTexture(), nullptr);
    EXPECT_EQ(copy.ExistingTexture()->MinFilter(), TGLMinFilter::miNearest);
    ASSERT_NE(copy.ExistingTextureEx(), nullptr);
    EXPECT_EQ(copy.ExistingTextureEx()->Item(0).TextureIndex(), 2);

    material.FreeTexture();
    EXPECT_EQ(material.ExistingTexture(), nullptr);
    copy.Assign(material);
    EXPECT_EQ(copy.ExistingTexture(), nullptr) << "a source without a texture frees the copy's";
}

// A list compiled after the preparation finds the texture made; the texture
// bound before is bound again, so that the state cache still tells the truth.
TEST(MaterialTexture, PrepareBuildListUploadsAndRebindsWhatWasBound)
{
    TTextureCallLog log;
    log.Answers[GL_TEXTURE_BINDING_2D] = {7};
    TGLMaterial material(nullptr);
    material.Texture().SetImageClassName("TGLBlankImage");
    material.Texture().SetMinFilter(TGLMinFilter::miLinear);
    material.PrepareBuildList();
    EXPECT_EQ(CountCalls(log.Take(), "GenTextures"), 0) << "a disabled texture is not prepared";
    material.Texture().SetDisabled(false);
    material.PrepareBuildList();
    const auto calls = log.Take();
    ASSERT_EQ(CountCalls(calls, "TexImage2D"), 1);
    EXPECT_EQ(calls.back(), CallText("BindTexture %#x 7", GL_TEXTURE_2D));
    EXPECT_EQ(CountCalls(calls, "BindTexture"), 2);
    material.PrepareBuildList();
    EXPECT_EQ(CountCalls(log.Take(), "BindTexture"), 0) << "nothing to prepare the second time";
}

} // namespace

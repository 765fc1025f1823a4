#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/GLCallLog.h"
#include "view3d/opengl/GLStateCache.h"

namespace {

using Calls = std::vector<std::string>;

class GLStateCacheTest : public testing::Test {
protected:
    TGLCallLog Log;
    TGLStateCache Cache;
};

TEST_F(GLStateCacheTest, StatesAreSentOnlyWhenTheyChange)
{
    Cache.Enable(TGLState::stLighting);
    Cache.Enable(TGLState::stLighting);
    Cache.Enable(TGLState::stTextureRect);
    Cache.Disable(TGLState::stLighting);
    Cache.Disable(TGLState::stLighting);
    Cache.Disable(TGLState::stDepthTest);
    EXPECT_EQ(Log.Take(), (Calls{"Enable 0xb50", "Enable 0x84f5", "Disable 0xb50"}));
    EXPECT_TRUE(Cache.Enabled(TGLState::stTextureRect));
    EXPECT_EQ(GLStateCapability(TGLState::stTextureCubeMap), 0x8513u);
    EXPECT_EQ(GLStateCapability(TGLState::stAlphaTest), GLenum(GL_ALPHA_TEST));
}

TEST_F(GLStateCacheTest, PolygonModes)
{
    Cache.SetPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    Cache.SetPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    Cache.SetPolygonMode(GL_FRONT, GL_LINE);
    Cache.SetPolygonMode(GL_BACK, GL_FILL);
    // Either face differing is enough to send both.
    Cache.SetPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    Cache.SetPolygonMode(GL_LEFT, GL_POINT);
    Cache.ResetPolygonMode();
    Cache.SetPolygonMode(GL_FRONT, GL_LINE);
    EXPECT_EQ(Log.Take(), (Calls{"PolygonMode 0x408 0x1b01", "PolygonMode 0x405 0x1b02", "PolygonMode 0x408 0x1b01",
                                 "PolygonMode 0x404 0x1b01"}));
}

TEST_F(GLStateCacheTest, MaterialColoursAfterAReset)
{
    const Vector4f emission{0, 0, 0, 1};
    const Vector4f ambient{0.2f, 0.2f, 0.2f, 1};
    const Vector4f diffuse{0.8f, 0.8f, 0.8f, 1};
    const Vector4f specular{0, 0, 0, 1};
    Cache.ResetMaterial();
    EXPECT_EQ(Log.Take(), (Calls{"Materialfv 0x408 0x1200 0.2 0.2 0.2 1", "Materialfv 0x408 0x1201 0.8 0.8 0.8 1",
                                 "Materialfv 0x408 0x1202 0 0 0 1", "Materialfv 0x408 0x1600 0 0 0 1",
                                 "Materiali 0x408 0x1601 0"}));

    // Every colour goes out after a reset, even the ones OpenGL already has; shininess 0 does not.
    Cache.SetMaterialColors(GL_FRONT, emission, ambient, diffuse, specular, 0);
    EXPECT_EQ(Log.Take(), (Calls{"Materialfv 0x404 0x1600 0 0 0 1", "Materialfv 0x404 0x1200 0.2 0.2 0.2 1",
                                 "Materialfv 0x404 0x1201 0.8 0.8 0.8 1", "Materialfv 0x404 0x1202 0 0 0 1"}));
    Cache.SetMaterialColors(GL_FRONT, emission, ambient, diffuse, specular, 0);
    EXPECT_EQ(Log.Take(), Calls{});

    // The alpha of emission, ambient and specular is not compared; the diffuse alpha is.
    Cache.SetMaterialColors(GL_FRONT, {0, 0, 0, 0.5f}, ambient, {0.8f, 0.8f, 0.8f, 0.5f}, specular, 10);
    EXPECT_EQ(Log.Take(), (Calls{"Materiali 0x404 0x1601 10", "Materialfv 0x404 0x1201 0.8 0.8 0.8 0.5"}));
    Cache.SetMaterialAlpha(GL_FRONT, 0.5f);
    Cache.SetMaterialAlpha(GL_FRONT, 0.25f);
    Cache.SetMaterialAlpha(GL_FRONT_AND_BACK, 0.75f);
    EXPECT_EQ(Log.Take(), (Calls{"Materialfv 0x404 0x1201 0.8 0.8 0.8 0.25"}));

    // The back face has a cache of its own.
    Cache.SetMaterialColors(GL_BACK, emission, ambient, diffuse, specular, 0);
    EXPECT_EQ(Log.Take().size(), 4u);
}

TEST_F(GLStateCacheTest, TexturesMatrixAndFrontFace)
{
    Cache.SetCurrentTexture(0, GL_TEXTURE_2D, 0);
    Cache.SetCurrentTexture(0, GL_TEXTURE_2D, 5);
    Cache.SetCurrentTexture(0, GL_TEXTURE_2D, 5);
    Cache.SetCurrentTexture(7, GL_TEXTURE_2D, 5);
    Cache.ResetTextures();
    Cache.SetCurrentTexture(0, GL_TEXTURE_2D, 5);
    EXPECT_EQ(Log.Take(), (Calls{"BindTexture 0xde1 5", "BindTexture 0xde1 5", "BindTexture 0xde1 5"}));

    Cache.ResetTextureMatrix();
    EXPECT_EQ(Log.Take(), Calls{});
    Matrix4f shift;
    shift.M[3][0] = 7;
    Cache.SetTextureMatrix(shift);
    Cache.ResetTextureMatrix();
    Cache.ResetTextureMatrix();
    EXPECT_EQ(Log.Take(), (Calls{"MatrixMode 0x1702", "LoadMatrixf 7", "MatrixMode 0x1700", "MatrixMode 0x1702",
                                 "LoadIdentity", "MatrixMode 0x1700"}));

    Cache.InvertFrontFace();
    Cache.InvertFrontFace();
    Cache.InvertFrontFace();
    Cache.ResetAll();
    EXPECT_EQ(Log.Take().back(), "FrontFace 0x901");
    Cache.InvertFrontFace();
    const Calls calls = Log.Take();
    EXPECT_EQ(calls, Calls{"FrontFace 0x900"});
}

} // namespace

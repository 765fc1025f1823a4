// Where the texture-coordinate calls go in each mapping mode, through the recorder.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/GLCallLog.h"
#include "view3d/opengl/TextureCoordinateDispatch.h"

namespace {

using Calls = std::vector<std::string>;

class TextureCoordinateDispatch : public testing::Test {
protected:
    // One coordinate, one generation, one pointer and one enable.
    Calls Send()
    {
        Log.Take();
        const GLfloat st[] = {0.25f, 0.5f};
        Dispatch.TexCoord2fv(st);
        Dispatch.TexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        Dispatch.TexCoordPointer(2, GL_FLOAT, 0, st);
        Dispatch.Enable(GL_TEXTURE_GEN_S);
        return Log.Take();
    }

    TGLCallLog Log;
    TGLTextureCoordinateDispatch Dispatch;
};

TEST_F(TextureCoordinateDispatch, EachModeSendsTheCallsToItsUnits)
{
    const struct {
        const char* What;
        void (*Select)(TGLTextureCoordinateDispatch&);
        std::uint32_t Mask;
        Calls Expected;
    } cases[] = {
        {"null", [](TGLTextureCoordinateDispatch& d) { d.MapTexCoordToNull(); }, 0, {}},
        {"main", [](TGLTextureCoordinateDispatch& d) { d.MapTexCoordToMain(); }, 1,
         {"TexCoord2fv 0.25 0.5", "TexGeni 0x2000 0x2500 9218", "TexCoordPointer 2 0x1406 0", "Enable 0xc60"}},
        {"second", [](TGLTextureCoordinateDispatch& d) { d.MapTexCoordToSecond(); }, 2,
         {"MultiTexCoord2fv 0x84c1 0.25 0.5",
          "ActiveTexture 0x84c1", "TexGeni 0x2000 0x2500 9218", "ActiveTexture 0x84c0",
          "ClientActiveTexture 0x84c1", "TexCoordPointer 2 0x1406 0", "ClientActiveTexture 0x84c0",
          "ActiveTexture 0x84c1", "Enable 0xc60", "ActiveTexture 0x84c0"}},
        {"both", [](TGLTextureCoordinateDispatch& d) { d.MapTexCoordToDual(); }, 3,
         {"TexCoord2fv 0.25 0.5", "MultiTexCoord2fv 0x84c1 0.25 0.5",
          "TexGeni 0x2000 0x2500 9218", "ActiveTexture 0x84c1", "TexGeni 0x2000 0x2500 9218", "ActiveTexture 0x84c0",
          "TexCoordPointer 2 0x1406 0", "ClientActiveTexture 0x84c1", "TexCoordPointer 2 0x1406 0",
          "ClientActiveTexture 0x84c0",
          "Enable 0xc60", "ActiveTexture 0x84c1", "Enable 0xc60", "ActiveTexture 0x84c0"}},
        {"units 0 and 2 from the mask 0b101", [](TGLTextureCoordinateDispatch& d) { d.MapTexCoordToArbitrary(0b101u); },
         5,
         {"MultiTexCoord2fv 0x84c0 0.25 0.5", "MultiTexCoord2fv 0x84c2 0.25 0.5",
          "ActiveTexture 0x84c0", "TexGeni 0x2000 0x2500 9218", "ActiveTexture 0x84c2", "TexGeni 0x2000 0x2500 9218",
          "ActiveTexture 0x84c0",
          "ClientActiveTexture 0x84c0", "TexCoordPointer 2 0x1406 0", "ClientActiveTexture 0x84c2",
          "TexCoordPointer 2 0x1406 0", "ClientActiveTexture 0x84c0",
          "ActiveTexture 0x84c0", "Enable 0xc60", "ActiveTexture 0x84c2", "Enable 0xc60", "ActiveTexture 0x84c0"}},
        {"an empty list", [](TGLTextureCoordinateDispatch& d) { d.MapTexCoordToArbitrary(0u); }, 0, {}},
    };
    EXPECT_EQ(Send(), Calls{}) << "the start";
    for (const auto& c : cases) {
        c.Select(Dispatch);
        EXPECT_EQ(Send(), c.Expected) << c.What;
        EXPECT_EQ(Dispatch.GetBitWiseMapping(), c.Mask) << c.What;
    }
}

TEST_F(TextureCoordinateDispatch, AForbiddenSecondUnitIsNeverUsed)
{
    Dispatch.SecondTextureUnitForbidden = true;
    Dispatch.MapTexCoordToDual();
    EXPECT_EQ(Dispatch.Mode(), TMapTexCoordMode::mtcmMain);
    Dispatch.MapTexCoordToSecond();
    EXPECT_EQ(Dispatch.Mode(), TMapTexCoordMode::mtcmNull);
    Dispatch.MapTexCoordToArbitrary(0b111u);
    EXPECT_EQ(Dispatch.GetBitWiseMapping(), 0b101u);
}

TEST_F(TextureCoordinateDispatch, UnitsAreAddedToThePresentOnes)
{
    Dispatch.MapTexCoordToDual();
    Dispatch.MapTexCoordToArbitraryAdd(0b10000u);
    EXPECT_EQ(Dispatch.Mode(), TMapTexCoordMode::mtcmArbitrary);
    EXPECT_EQ(Dispatch.Units(), (std::vector<GLenum>{GL_TEXTURE0, GL_TEXTURE1, GL_TEXTURE4}));
}

TEST_F(TextureCoordinateDispatch, NestedBracketsSwitchOnceToTheLastModeAtTheOuterEnd)
{
    Dispatch.MapTexCoordToMain();
    Dispatch.BeginUpdate();
    Dispatch.MapTexCoordToSecond();
    Dispatch.BeginUpdate();
    Dispatch.MapTexCoordToDual();
    Dispatch.EndUpdate();
    EXPECT_EQ(Dispatch.Mode(), TMapTexCoordMode::mtcmMain);
    Dispatch.EndUpdate();
    EXPECT_EQ(Dispatch.Mode(), TMapTexCoordMode::mtcmDual);
    Dispatch.EndUpdate();
    EXPECT_EQ(Dispatch.Mode(), TMapTexCoordMode::mtcmDual);

    Dispatch.BeginUpdate();
    Dispatch.MapTexCoordToNull();
    Dispatch.MapTexCoordToDual();
    Dispatch.EndUpdate();
    EXPECT_EQ(Dispatch.Mode(), TMapTexCoordMode::mtcmDual);
}

TEST(TextureCoordinateDispatchOfTheProcess, StartsSendingNothing)
{
    EXPECT_EQ(XGL().Mode(), TMapTexCoordMode::mtcmNull);
}

} // namespace

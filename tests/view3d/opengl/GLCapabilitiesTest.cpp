#include <cfenv>
#include <cmath>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "view3d/opengl/FloatingPointMode.h"
#include "view3d/opengl/GLCapabilities.h"
#include "view3d/opengl/GLEntryPoints.h"

namespace {

TEST(GLCapabilities, VersionStrings)
{
    const struct {
        const char* Text;
        int Major;
        int Minor;
    } cases[] = {
        {"1.1.0", 1, 1},
        {"2.0.1", 2, 0},
        {"1.5.0 NVIDIA 53.03", 1, 5},
        {"OpenGL ES 4.0", 4, 0},
        {"4.5 (Compatibility Profile) Mesa 22.3.6", 4, 5},
        {"12.34", 12, 34},
        {"no version", 0, 0},
        {".5", 0, 0},      // the point must not come first
        {"1.", 0, 0},      // nor last
        {"x.1", 0, 0},     // a digit on both sides
        {"1.x", 0, 0},
        {"99999999999.1", 0, 0}, // a number that does not fit
        {"", 0, 0},
    };
    for (const auto& c : cases) {
        const TGLVersion version = ParseVersionString(c.Text);
        EXPECT_EQ(version.Major, c.Major) << c.Text;
        EXPECT_EQ(version.Minor, c.Minor) << c.Text;
    }
}

TEST(GLCapabilities, VersionFlags)
{
    const struct {
        const char* Gl;
        const char* Glu;
        bool Gl11, Gl12, Gl15, Glu12, Glu13;
    } cases[] = {
        {"1.1.0", "1.2", true, false, false, true, false},
        {"2.0.1", "1.3", true, true, true, true, true},
        {"no point", "none", false, false, false, false, false},
    };
    for (const auto& c : cases) {
        const TGLCapabilities flags = ReadCapabilitiesFrom({c.Gl, c.Glu, "", "", ""});
        EXPECT_TRUE(flags.OpenGL10) << c.Gl;
        EXPECT_EQ(flags.OpenGL11, c.Gl11) << c.Gl;
        EXPECT_EQ(flags.OpenGL12, c.Gl12) << c.Gl;
        EXPECT_EQ(flags.OpenGL13, c.Gl12 && c.Gl15) << c.Gl;
        EXPECT_EQ(flags.OpenGL15, c.Gl15) << c.Gl;
        EXPECT_TRUE(flags.GLU11) << c.Glu;
        EXPECT_EQ(flags.GLU12, c.Glu12) << c.Glu;
        EXPECT_EQ(flags.GLU13, c.Glu13) << c.Glu;
    }
}

TEST(GLCapabilities, ExtensionNamesFollowTheDriverConvention)
{
    // A name counts when its first occurrence ends the string or is followed
    // by a blank; the character before it is not looked at.
    const struct {
        const char* Extensions;
        TGLExtension Flag;
        bool Set;
    } cases[] = {
        {"GL_EXT_texture3D GL_EXT_texture_edge_clamp", kEXT_texture3D, true},
        {"GL_EXT_texture3D GL_EXT_texture_edge_clamp", kEXT_texture_edge_clamp, true},
        {"GL_EXT_texture3Dx", kEXT_texture3D, false},
        {"XGL_EXT_texture3D", kEXT_texture3D, true},
        // Only the first occurrence is tried.
        {"GL_EXT_texture3Dx GL_EXT_texture3D", kEXT_texture3D, false},
        // The flag's name begins with a blank, so a string that begins with it does not set it.
        {"GL_ARB_multisample GL_ARB_multitexture", kARB_multisample, false},
        {"GL_ARB_imaging GL_ARB_multisample GL_X", kARB_multisample, true},
        // This name has no "GL_" prefix.
        {"GL_EXT_stencil_two_side", kEXT_stencil_two_side, true},
        {"GL_EXT_compiled_vertex_array", kEXT_compiled_vertex_array, true},
        {"", kEXT_compiled_vertex_array, false},
    };
    for (const auto& c : cases) {
        const TGLCapabilities flags = ReadCapabilitiesFrom({"1.1", "1.1", c.Extensions, "", ""});
        EXPECT_EQ(flags.Has(c.Flag), c.Set) << c.Extensions << " / " << GLExtensionName(c.Flag);
    }
}

TEST(GLCapabilities, GluAndWindowSystemStringsSetOnlyTheirOwnFlags)
{
    const TGLCapabilities flags = ReadCapabilitiesFrom(
        {"1.1", "1.3", "GLU_EXT_nurbs_tessellator WGL_ARB_pixel_format", "GLU_EXT_nurbs_tessellator GLU_EXT_TEXTURE",
         "WGL_ARB_pixel_formatX WGL_ARB_pbuffer"});
    EXPECT_TRUE(flags.Has(kGLU_EXT_nurbs_tessellator));
    EXPECT_TRUE(flags.Has(kGLU_EXT_TEXTURE));
    EXPECT_FALSE(flags.Has(kGLU_EXT_object_space_tess));
    // A plain substring test, but the pbuffer name carries a trailing blank.
    EXPECT_TRUE(flags.Has(kWGL_ARB_pixel_format));
    EXPECT_FALSE(flags.Has(kWGL_ARB_pbuffer));
    EXPECT_TRUE(ReadCapabilitiesFrom({"", "", "", "", "WGL_ARB_pbuffer WGL_X"}).Has(kWGL_ARB_pbuffer));
    EXPECT_EQ(GLExtensionName(kWGL_ARB_pbuffer), "WGL_ARB_pbuffer ");
    EXPECT_EQ(GLExtensionName(kARB_multisample), " GL_ARB_multisample");
    EXPECT_EQ(GLExtensionName(kWIN_swap_hint), "GL_WIN_swap_hint");
}

TEST(GLEntryPoints, FilledByNameAndNullWhereTheDriverLacksThem)
{
    static int calls = 0;
    const TGLProcAddress lock = [] { ++calls; };
    std::map<std::string, TGLProcAddress> driver = {{"glLockArraysEXT", lock}};
    ReadGLExtensions([&](const char* name) {
        const auto found = driver.find(name);
        return found != driver.end() ? found->second : nullptr;
    });
    ASSERT_NE(GLEntryPoints().LockArraysEXT, nullptr);
    EXPECT_EQ(reinterpret_cast<TGLProcAddress>(GLEntryPoints().LockArraysEXT), lock);
    EXPECT_EQ(GLEntryPoints().UnlockArraysEXT, nullptr);
    EXPECT_EQ(GLEntryPoints().LoadTransposeMatrixfARB, nullptr);
    ReadGLExtensions([](const char*) -> TGLProcAddress { return nullptr; });
    EXPECT_EQ(GLEntryPoints().LockArraysEXT, nullptr);
}

TEST(FloatingPointMode, MasksEveryTrapAndRoundsToNearest)
{
    feenableexcept(FE_DIVBYZERO);
    EXPECT_FALSE(FloatingPointModeIsSet());
    InitializeFloatingPointMode();
    EXPECT_TRUE(FloatingPointModeIsSet());
    volatile float zero = 0.0f;
    EXPECT_TRUE(std::isinf(1.0f / zero));
}

} // namespace

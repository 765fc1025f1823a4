#include <cstdio>
#include <string>

#include <QGuiApplication>
#include <QImage>
#include <QOpenGLContext>
#include <gtest/gtest.h>

#include "view3d/context/GLBackgroundFrame.h"
#include "view3d/context/GLQtContext.h"
#include "view3d/context/MemoryRender.h"
#include "view3d/opengl/GLCapabilities.h"
#include "view3d/opengl/GLContextHandle.h"
#include "view3d/opengl/GLEntryPoints.h"
#include "view3d/opengl/GLErrors.h"
#include "view3d/opengl/GLFunctions.h"

namespace {

std::string DriverText(GLenum name)
{
    const GLubyte* text = GL().GetString(name);
    return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

TEST(GLContextOnMesa, ReadsTheDriversRealStrings)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    TGLQtContext context;
    context.SetDepthBits(24);
    context.CreateMemoryContext(16, 16);
    context.Activate();
    const std::string version = DriverText(GL_VERSION);
    const std::string extensions = DriverText(GL_EXTENSIONS);
    const std::string renderer = DriverText(GL_RENDERER);
    context.Deactivate();
    std::printf("GL_VERSION %s\nGL_RENDERER %s\n", version.c_str(), renderer.c_str());

    // A compatibility profile: the scene's fixed-function calls exist.
    EXPECT_NE(version.find("Compatibility Profile"), std::string::npos) << version;
    const TGLCapabilities& flags = GLCapabilities();
    EXPECT_TRUE(flags.OpenGL11 && flags.OpenGL12 && flags.OpenGL15);
    EXPECT_TRUE(flags.GLU13);
    for (TGLExtension name : {kARB_multitexture, kEXT_compiled_vertex_array, kARB_point_parameters,
                              kEXT_texture_edge_clamp, kARB_texture_cube_map, kARB_transpose_matrix})
        EXPECT_TRUE(flags.Has(name)) << GLExtensionName(name);
    // Mesa's string begins with this name, so the flag spelt with a leading blank stays off.
    EXPECT_EQ(extensions.rfind("GL_ARB_multisample", 0), 0u) << extensions.substr(0, 40);
    EXPECT_FALSE(flags.Has(kARB_multisample));
    EXPECT_FALSE(flags.Has(kWGL_ARB_pixel_format));
    const TGLEntryPoints& entries = GLEntryPoints();
    EXPECT_NE(entries.LockArraysEXT, nullptr);
    EXPECT_NE(entries.ActiveTextureARB, nullptr);
    EXPECT_NE(entries.LoadTransposeMatrixfARB, nullptr);
    EXPECT_EQ(context.Acceleration(), TGLAcceleration::Software) << renderer;
    context.DestroyContext();
    EXPECT_FALSE(context.IsValid());
}

TEST(GLContextOnMesa, AMemoryContextRendersTheClearedBackground)
{
    TGLQtContext context;
    context.SetDepthBits(24);
    TGLBackgroundFrame frame;
    frame.BackgroundColor = 0x00336699; // red 0x99, green 0x66, blue 0x33
    const QImage image = RenderToImage(context, frame, 64, 48);
    ASSERT_EQ(image.size(), QSize(64, 48));
    int wrong = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            wrong += image.pixelColor(x, y) != QColor(0x99, 0x66, 0x33) ? 1 : 0;
    EXPECT_EQ(wrong, 0) << "first pixel " << image.pixelColor(0, 0).name().toStdString();
    EXPECT_FALSE(context.IsValid()) << "the memory context is gone again";
}

TEST(GLContextOnMesa, DisplayListsLiveInTheContextAndGoWithIt)
{
    TGLQtContext context;
    context.CreateMemoryContext(8, 8);
    TGLListHandle list;
    context.Activate();
    list.AllocateHandle();
    EXPECT_NE(list.Handle(), 0u);
    EXPECT_EQ(glIsList(list.Handle()), GL_TRUE);
    context.Deactivate();
    context.DestroyContext();
    EXPECT_EQ(list.Handle(), 0u);
    EXPECT_EQ(list.RenderingContext(), nullptr);
    // A later request to share with a context Qt did not make sharing is refused.
    TGLQtContext first;
    TGLQtContext second;
    first.CreateMemoryContext(8, 8);
    second.CreateMemoryContext(8, 8);
    if (!QOpenGLContext::globalShareContext()) {
        try {
            first.ShareLists(second);
            ADD_FAILURE() << "sharing was accepted";
        } catch (const EGLContextError& error) {
            EXPECT_STREQ(error.what(), "Incompatible contexts");
        }
    }
}

} // namespace

#include <filesystem>

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

#include "support/SceneLinkSpy.h"
#include "support/PicturesOnMesa.h"
#include "view3d/context/GLFrameRenderer.h"
#include "view3d/context/GLQtContext.h"
#include "view3d/context/MemoryRender.h"
#include "view3d/material/RenderContextInfo.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/opengl/GLStateCache.h"
#include "view3d/scene/BaseSceneObject.h"
#include "view3d/scene/SceneRootObject.h"

namespace {

// A flat square of one colour round its origin, the size of its half extents.
class TSquare : public TGLBaseSceneObject {
public:
    TSquare(float red, float green, float blue, bool direct) : Red(red), Green(green), Blue(blue)
    {
        SetObjectStyle(TGLObjectStyle::osDirectDraw, direct);
        SetScale({0.2f, 0.2f, 0.2f, 0});
    }
    void BuildList(TRenderContextInfo&) override
    {
        GL().Color3f(Red, Green, Blue);
        GL().Begin(GL_QUADS);
        GL().Vertex3f(-0.5f, -0.5f, 0);
        GL().Vertex3f(0.5f, -0.5f, 0);
        GL().Vertex3f(0.5f, 0.5f, 0);
        GL().Vertex3f(-0.5f, 0.5f, 0);
        GL().End();
    }

private:
    float Red;
    float Green;
    float Blue;
};

// The tree drawn in clip coordinates: no camera, the identity view.
class TTreeFrame : public TGLFrameRenderer {
public:
    void Resize(int, int) override {}
    void RenderFrame() override
    {
        GL().ClearColor(0, 0, 0, 1);
        GL().Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        GL().MatrixMode(GL_PROJECTION);
        GL().LoadIdentity();
        GL().MatrixMode(GL_MODELVIEW);
        GL().LoadIdentity();
        States.ResetAll();
        TRenderContextInfo rci;
        rci.GLStates = &States;
        rci.ObjectsSorting = TGLObjectsSorting::osNone;
        rci.VisibilityCulling = TGLVisibilityCulling::vcNone;
        Root.RenderObject(rci);
    }

    TSceneLinkSpy Scene;
    TGLSceneRootObject Root{Scene};
    TGLStateCache States;
};

TEST(SceneTreeRender, TransformsListsAndHiddenObjectsOnMesa)
{
    TTreeFrame frame;
    // Red: compiled into a list, placed through a parent and rolled by 90
    // degrees: the roll turns Up about the direction by old minus new, so
    // the object's own +Y comes to point along world -X.
    auto& parent = frame.Root.AddNewChild<TGLBaseSceneObject>();
    parent.SetPosition({0.5f, 0, 0, 1});
    auto& turned = parent.AddNewChild<TGLBaseSceneObject>();
    turned.SetRollAngle(90);
    turned.AddNewChild<TSquare>(1.0f, 0.0f, 0.0f, false).SetPosition({0, 0.25f, 0, 1});
    // Blue: drawn directly, lower left. Green: hidden with its parent.
    frame.Root.AddNewChild<TSquare>(0.0f, 0.0f, 1.0f, true).SetPosition({-0.5f, -0.5f, 0, 1});
    auto& hidden = frame.Root.AddNewChild<TGLBaseSceneObject>();
    hidden.AddNewChild<TSquare>(0.0f, 1.0f, 0.0f, true).SetPosition({-0.5f, 0.5f, 0, 1});
    hidden.SetVisible(false);

    TGLQtContext context;
    context.SetDepthBits(24);
    const QImage image = RenderToImage(context, frame, 100, 100);
    SavePicture(image, "scene-tree.png");

    // At x = 0.5 - 0.25: the matrices reach OpenGL in its own order.
    EXPECT_EQ(image.pixelColor(62, 50), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(87, 50), QColor(0, 0, 0));
    EXPECT_EQ(image.pixelColor(25, 75), QColor(0, 0, 255)) << "blue, lower left (image rows run down)";
    EXPECT_EQ(image.pixelColor(25, 25), QColor(0, 0, 0)) << "green stays hidden";
    EXPECT_EQ(image.pixelColor(50, 50), QColor(0, 0, 0));
}

} // namespace

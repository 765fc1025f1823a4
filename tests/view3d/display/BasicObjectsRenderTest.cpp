#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

#include "support/PicturesOnMesa.h"
#include "view3d/context/GLQtContext.h"
#include "view3d/context/MemoryRender.h"
#include "view3d/objects/Cube.h"
#include "view3d/objects/DummyCube.h"
#include "view3d/objects/Lines.h"
#include "view3d/objects/Plane.h"
#include "view3d/objects/Points.h"
#include "view3d/objects/Sphere.h"
#include "view3d/objects/Sprite.h"
#include "view3d/scene/GLCamera.h"
#include "view3d/scene/GLLightSource.h"
#include "view3d/scene/GLScene.h"
#include "view3d/scene/GLSceneBuffer.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// The scene of the objects through the scene buffer: an orthographic camera
// looking down -Z that shows 4 units over the picture's height, with a
// parallel white light along its line of sight.
class TObjectsScene {
public:
    TObjectsScene() : Camera(Scene.Cameras().AddNewChild<TGLCamera>())
    {
        Camera.SetCameraStyle(TGLCameraStyle::csOrthogonal);
        Camera.SetFocalLength(1.0f);
        // With focal length 1 the width shows 100 / SceneScale units.
        Camera.SetSceneScale(100.0f * kHeight / (4.0f * kWidth));
        Camera.SetDepthOfView(20.0f);
        Camera.SetPosition({0.0f, 0.0f, 10.0f, 1.0f});
        Camera.SetDirection({0.0f, 0.0f, -1.0f, 0.0f});
        Camera.AddNewChild<TGLLightSource>().SetLightStyle(TLightStyle::lsParallel);
        Buffer.SetCamera(&Camera);
        Buffer.SetBackgroundColor(0x00000000);
    }

    TGLSceneRootObject& Objects() { return Scene.Objects(); }

    QImage Render()
    {
        // Blended smooth lines leave an alpha below 1: read the colours as the saved picture shows them.
        return RenderToImage(Context, Buffer, kWidth, kHeight).convertToFormat(QImage::Format_ARGB32);
    }

    TGLScene Scene;
    TGLCamera& Camera;
    TGLSceneBuffer Buffer;
    TGLQtContext Context;
};

// The pixel at scene coordinates (x, y) of the frame above.
QColor At(const QImage& image, float x, float y)
{
    const float pixelsPerUnit = float(kHeight) / 4.0f;
    return image.pixelColor(int(kWidth / 2 + x * pixelsPerUnit), int(kHeight / 2 - y * pixelsPerUnit));
}

void ExpectColor(const QColor& actual, const QColor& expected, const std::string& where, int tolerance = 12)
{
    EXPECT_NEAR(actual.red(), expected.red(), tolerance) << where << " " << actual.name().toStdString();
    EXPECT_NEAR(actual.green(), expected.green(), tolerance) << where << " " << actual.name().toStdString();
    EXPECT_NEAR(actual.blue(), expected.blue(), tolerance) << where << " " << actual.name().toStdString();
}

const QColor kBlack(0, 0, 0);

// Pixels with some red in the strip 1.95 < x < 2.05, 0.8 < y < 1.6: the
// right side of a unit cube at (1.5, 1.2), clear of the sphere inside it.
int LitAlongRightEdge(const QImage& image)
{
    const float pixelsPerUnit = float(kHeight) / 4.0f;
    int lit = 0;
    for (int row = int(kHeight / 2 - 1.6f * pixelsPerUnit); row < int(kHeight / 2 - 0.8f * pixelsPerUnit); ++row)
        for (int column = int(kWidth / 2 + 1.95f * pixelsPerUnit); column < int(kWidth / 2 + 2.05f * pixelsPerUnit);
             ++column)
            lit += image.pixelColor(column, row).red() > 60 ? 1 : 0;
    return lit;
}

TEST(BasicObjectsRender, LitCubeShadedByItsMaterialOnlyWhereItStands)
{
    TObjectsScene frame;
    TGLCube& cube = frame.Objects().AddNewChild<TGLCube>();
    cube.Material().FrontProperties().Diffuse().SetColor({1, 0, 0, 1});
    cube.Material().FrontProperties().Ambient().SetColor({0, 0, 0, 1});
    const QImage image = frame.Render();
    SavePicture(image, "objects-cube.png");
    // The front face, lit at an angle: the diffuse red times the light's cosine.
    const QColor face = At(image, 0, 0);
    EXPECT_GT(face.red(), 150);
    EXPECT_LT(face.green(), 30);
    EXPECT_LT(face.blue(), 30);
    ExpectColor(At(image, 0.4f, -0.4f), face, "flat face");
    ExpectColor(At(image, 0.6f, 0), kBlack, "beside the cube");

    // Turned inside, its normals face away from the light.
    cube.SetNormalDirection(TNormalDirection::ndInside);
    const QImage inside = frame.Render();
    EXPECT_LT(At(inside, 0, 0).red(), 30);
}

TEST(BasicObjectsRender, LineSegmentTakesItsEndNodesColour)
{
    TObjectsScene frame;
    TGLLines& lines = frame.Objects().AddNewChild<TGLLines>();
    lines.SetNodesAspect(TLineNodesAspect::lnaInvisible);
    lines.SetLineWidth(3);
    lines.SetOption(TLinesOption::loUseNodeColorForLines, true);
    lines.AddNode({-1.5f, 1, 0}).Color().SetColor({1, 0, 0, 1});
    lines.AddNode({1.5f, 1, 0}).Color().SetColor({0, 1, 0, 1});
    lines.AddNode({1.5f, -1, 0}).Color().SetColor({0, 0, 1, 1});
    lines.AddNode({-1.5f, -1, 0});
    const QImage image = frame.Render();
    SavePicture(image, "objects-lines.png");
    // With the flat shade model each segment has its end node's colour; with
    // the smooth default the colours run along it, and the middle of the top
    // segment mixes red and green.
    const QColor top = At(image, 0, 1);
    EXPECT_GT(top.red(), 90);
    EXPECT_GT(top.green(), 90);
    ExpectColor(At(image, 1.5f, 0), QColor(0, 128, 128), "right, green to blue", 20);
    ExpectColor(At(image, 0, -1), QColor(0, 0, 255), "bottom: blue to the node colour, blue", 20);
    ExpectColor(At(image, 0, 0), kBlack, "inside");

    // Flat shaded, each segment shows its end node's colour.
    frame.Buffer.SetShadeModel(TGLShadeModel::smFlat);
    const QImage flat = frame.Render();
    ExpectColor(At(flat, 0, 1), QColor(0, 255, 0), "top, flat");
    ExpectColor(At(flat, 1.5f, 0), QColor(0, 0, 255), "right, flat");
    frame.Buffer.SetShadeModel(TGLShadeModel::smSmooth);

    // A Bezier curve through more nodes than Mesa's evaluator takes (30)
    // draws their strip, without an OpenGL error.
    lines.SetSplineMode(TLineSplineMode::lsmBezierSpline);
    lines.Nodes().BeginUpdate();
    for (int i = 0; i < 40; ++i)
        lines.AddNode({-1.5f + 3.0f * float(i) / 39.0f, -1.5f, 0});
    lines.Nodes().EndUpdate();
    EXPECT_GT(At(frame.Render(), 0, -1.5f).blue(), 100);

    // One node: nothing.
    lines.Nodes().Clear();
    lines.AddNode({0, 0, 0});
    const QImage empty = frame.Render();
    ExpectColor(At(empty, 0, 0), kBlack, "one node");
}

TEST(BasicObjectsRender, PointsDummyCubeSphereAndPlane)
{
    TObjectsScene frame;
    TGLPoints& points = frame.Objects().AddNewChild<TGLPoints>();
    points.SetSize(9);
    points.Positions().Add(-2, 1.2f, 0);
    points.Colors().Add(Vector4f{1, 1, 0, 1});
    TGLDummyCube& dummy = frame.Objects().AddNewChild<TGLDummyCube>();
    dummy.SetPosition({1.5f, 1.2f, 0, 1});
    dummy.SetCubeSize(1);
    TGLSphere& sphere = dummy.AddNewChild<TGLSphere>();
    sphere.Material().FrontProperties().Diffuse().SetColor({0, 1, 0, 1});
    TGLPlane& plane = frame.Objects().AddNewChild<TGLPlane>();
    plane.SetPosition({0, -1.2f, 0, 1});
    plane.Material().FrontProperties().Diffuse().SetColor({0, 0, 1, 1});

    QImage image = frame.Render();
    SavePicture(image, "objects-points-dummy-sphere-plane.png");
    ExpectColor(At(image, -2, 1.2f), QColor(255, 255, 0), "the point");
    EXPECT_GT(At(image, 1.5f, 1.2f).green(), 100) << "the sphere inside the invisible dummy cube";
    EXPECT_EQ(LitAlongRightEdge(image), 0) << "no dummy edges at run time";
    EXPECT_GT(At(image, 0, -1.2f).blue(), 100) << "the plane";

    dummy.SetVisibleAtRunTime(true);
    dummy.EdgeColor().SetColor({1, 1, 1, 1});
    image = frame.Render();
    SavePicture(image, "objects-dummy-edges.png");
    EXPECT_GT(LitAlongRightEdge(image), 10) << "the stippled edges, when visible at run time";

    // A size of 0 is drawn at the default size, without an OpenGL error.
    points.SetSize(0);
    EXPECT_NO_THROW(frame.Render());

    // No positions: one point at the origin, white.
    points.SetSize(3);
    points.Positions().Clear();
    points.Colors().Clear();
    points.StructureChanged();
    image = frame.Render();
    ExpectColor(At(image, 0, 0), QColor(255, 255, 255), "one point at the origin");
}

TEST(BasicObjectsRender, SpriteFacesTheViewer)
{
    TObjectsScene frame;
    TGLSprite& sprite = frame.Objects().AddNewChild<TGLSprite>();
    sprite.SetWidth(2);
    sprite.SetHeight(1);
    // Turned away from the viewer, it still shows its full face.
    sprite.SetDirection({1, 0, 0, 0});
    sprite.Material().FrontProperties().Emission().SetColor({1, 0, 1, 1});
    const QImage image = frame.Render();
    EXPECT_GT(At(image, 0.9f, 0.4f).red(), 200);
    ExpectColor(At(image, 1.1f, 0), kBlack, "beyond its width");
}

TEST(BasicObjectsRender, ACubeAColouredLineSetAndAxes)
{
    TObjectsScene frame;
    TGLCube& cube = frame.Objects().AddNewChild<TGLCube>();
    cube.SetPosition({0.8f, 0, 0, 1});
    cube.SetTurnAngle(30);
    cube.SetPitchAngle(20);
    cube.Material().FrontProperties().Diffuse().SetColor({0.9f, 0.4f, 0.1f, 1});
    TGLLines& path = frame.Objects().AddNewChild<TGLLines>();
    path.SetPosition({-1.2f, -0.5f, 0, 1});
    path.SetNodesAspect(TLineNodesAspect::lnaCube);
    path.SetNodeSize(0.1f);
    path.SetLineWidth(2);
    path.SetOption(TLinesOption::loUseNodeColorForLines, true);
    path.Nodes().BeginUpdate();
    for (int i = 0; i <= 12; ++i) {
        const float t = float(i) / 12.0f;
        path.AddNode({t * 1.4f, std::sin(t * 6.3f) * 0.6f, 0}).Color().SetColor({1 - t, t, 0.5f, 1});
    }
    path.Nodes().EndUpdate();
    TGLPoints& origin = frame.Objects().AddNewChild<TGLPoints>();
    origin.SetPosition({-1.2f, -0.5f, 0, 1});
    origin.SetShowAxes(true);
    origin.SetSize(5);
    const QImage image = frame.Render();
    SavePicture(image, "objects-cube-lines-axes.png");
    EXPECT_GT(At(image, 0.8f, 0).red(), 80) << "the cube";
    // The X axis, full red on the positive side (stippled: look along it).
    int red = 0;
    for (float x = -1.1f; x < -0.2f; x += 0.02f) {
        const QColor c = At(image, x, -0.5f);
        red += c.red() > 150 && c.green() < 80 && c.blue() < 80 ? 1 : 0;
    }
    EXPECT_GT(red, 5);
}

} // namespace

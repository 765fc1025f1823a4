// The main window's 3D scene on its object graph, without drawing: the scene
// as built, the toolpath the read-back appends, the mouse, the camera views,
// the autozoom and the extents box.

#include <cmath>
#include <functional>

#include <gtest/gtest.h>

#include "cam/simulation/NcSimulation.h"
#include "view3d/maths/VectorGeometry.h"
#include "view3d/objects/Cube.h"
#include "view3d/objects/DummyCube.h"
#include "view3d/objects/Lines.h"
#include "view3d/objects/Points.h"
#include "view3d/scene/GLCamera.h"
#include "view3d/scene/GLLightSource.h"
#include "view3d/ui/NcScene3D.h"

namespace {

float Distance(const Vector4f& a, const Vector4f& b)
{
    return std::hypot(a.X - b.X, a.Y - b.Y, a.Z - b.Z);
}

void ExpectNear(const Vector4f& v, float x, float y, float z, float tolerance = 1e-3f)
{
    EXPECT_NEAR(v.X, x, tolerance);
    EXPECT_NEAR(v.Y, y, tolerance);
    EXPECT_NEAR(v.Z, z, tolerance);
}

bool Same(const Vector4f& a, const Vector4f& b)
{
    return a.X == b.X && a.Y == b.Y && a.Z == b.Z && a.W == b.W;
}

} // namespace

TEST(NcScene3D, IsBuiltAsTheViewShowsIt)
{
    TNcScene3D scene;
    EXPECT_EQ(scene.GLCamera1.CameraStyle(), TGLCameraStyle::csOrthogonal);
    EXPECT_EQ(scene.GLCamera1.DepthOfView(), 10000.0f);
    EXPECT_EQ(scene.GLCamera1.TargetObject(), &scene.GLDummyCube1);
    ExpectNear(scene.GLCamera1.Position().AsVector(), 2500, -2500, 2300);
    ExpectNear(scene.GLCamera1.Up().AsVector(), 0, 0, 1);
    // The camera's own axes are not degenerate: its direction is level,
    // towards the target.
    ExpectNear(scene.GLCamera1.Direction().AsVector(), -std::sqrt(0.5f), std::sqrt(0.5f), 0);
    EXPECT_EQ(scene.GLLuce1.Parent(), &scene.GLCamera1);
    ExpectNear(scene.GLLuce1.Position().AsVector(), 100, 100, 500);

    EXPECT_FALSE(scene.GLDummyCube1.Visible());
    EXPECT_EQ(scene.GLCube1.Parent(), &scene.GLDummyCube1);
    EXPECT_TRUE(scene.GLOrigine.ShowAxes());
    EXPECT_EQ(scene.GLCncMov.Parent(), &scene.GLOrigine);
    EXPECT_TRUE(scene.GLCncMov.HasOption(TLinesOption::loUseNodeColorForLines));
    EXPECT_EQ(scene.GLCncMov.Nodes().Count(), 0);
    EXPECT_EQ(scene.GLEstensioneCnc.Parent(), &scene.GLOrigine);
    EXPECT_FALSE(scene.GLEstensioneCnc.Visible());
    EXPECT_EQ(scene.GLEstensioneCnc.Material().BlendingMode(), TBlendingMode::bmTransparency);
    EXPECT_EQ(scene.Buffer.Camera(), &scene.GLCamera1);
    EXPECT_EQ(scene.Buffer.ShadeModel(), TGLShadeModel::smFlat);
    scene.SetBackgroundColor(0x00123456);
    EXPECT_EQ(scene.Buffer.BackgroundColor(), TColor(0x00123456));

    // Read back into it, the moves become the line's nodes in their colours.
    TNcSimulation sim;
    sim.Toolpath3D = &scene;
    for (const char* line : {"G0 X0 Y0 Z5", "G1 X10 Z-1", "G0 Z5"})
        SimulateNcLine(sim, line, TPostSettings(), TNcReadMode::Step);
    ASSERT_EQ(scene.GLCncMov.Nodes().Count(), 3);
    const Vector4f yellow{1, 1, 0, 1};
    const Vector4f cyan{0, 1, 1, 1};
    EXPECT_TRUE(Same(scene.GLCncMov.Node(0).Color().Color(), yellow));
    EXPECT_TRUE(Same(scene.GLCncMov.Node(1).Color().Color(), cyan));
    EXPECT_TRUE(Same(scene.GLCncMov.Node(2).Color().Color(), yellow));
    ExpectNear(scene.GLCncMov.Node(1).AsVector(), 10, 0, -1);
    scene.ClearToolpath();
    EXPECT_EQ(scene.GLCncMov.Nodes().Count(), 0);
}

// Orbit with the left button, pan with Shift or during the pan command
// (target and camera together), zoom by 1.1 with Ctrl; nothing without the
// left button but the stored position.
TEST(NcScene3D, TheMouseOrbitsPansAndZooms)
{
    TNcScene3D scene;
    TGLCamera& camera = scene.GLCamera1;
    const Vector4f start = camera.Position().AsVector();
    const float radius = Distance(start, scene.GLDummyCube1.Position().AsVector());

    scene.MouseDown(100, 100);
    scene.MouseMove({}, 80, 90);
    EXPECT_TRUE(Same(camera.Position().AsVector(), start));
    EXPECT_EQ(scene.Mouse3DLastX, 80);
    EXPECT_EQ(scene.Mouse3DLastY, 90);

    // Ten pixels left is ten degrees round the target.
    scene.MouseMove({.LeftButton = true}, 70, 90);
    const Vector4f turned = camera.Position().AsVector();
    EXPECT_NEAR(Distance(turned, scene.GLDummyCube1.Position().AsVector()), radius, 0.5f);
    EXPECT_NEAR(turned.Z, start.Z, 0.5f);
    const float angle = std::atan2(turned.Y, turned.X) - std::atan2(start.Y, start.X);
    EXPECT_NEAR(std::abs(angle) * 180 / 3.14159265f, 10.0f, 0.01f);
    ExpectNear(camera.Up().AsVector(), 0, 0, 1);

    for (const TMouse3DState held : {TMouse3DState{.LeftButton = true, .Shift = true},
                                     TMouse3DState{.LeftButton = true, .PanCommand = true},
                                     TMouse3DState{.LeftButton = true, .Shift = true, .Ctrl = true}}) {
        const Vector4f cameraBefore = camera.Position().AsVector();
        const Vector4f targetBefore = scene.GLDummyCube1.Position().AsVector();
        scene.MouseMove(held, scene.Mouse3DLastX + 10, scene.Mouse3DLastY);
        const Vector4f cameraMove = Vector4Subtract(camera.Position().AsVector(), cameraBefore);
        const Vector4f targetMove = Vector4Subtract(scene.GLDummyCube1.Position().AsVector(), targetBefore);
        EXPECT_GT(std::hypot(targetMove.X, targetMove.Y), 1.0f);
        EXPECT_EQ(targetMove.Z, 0.0f) << "panning stays in the plane";
        ExpectNear(cameraMove, targetMove.X, targetMove.Y, targetMove.Z);
    }

    camera.SetSceneScale(2.0f);
    scene.MouseMove({.LeftButton = true, .Ctrl = true}, scene.Mouse3DLastX, scene.Mouse3DLastY - 5);
    EXPECT_FLOAT_EQ(camera.SceneScale(), 2.2f);
    scene.MouseMove({.LeftButton = true, .Ctrl = true}, scene.Mouse3DLastX + 5, scene.Mouse3DLastY);
    EXPECT_FLOAT_EQ(camera.SceneScale(), 2.2f);
    scene.MouseMove({.LeftButton = true, .Ctrl = true}, scene.Mouse3DLastX, scene.Mouse3DLastY + 5);
    EXPECT_FLOAT_EQ(camera.SceneScale(), 2.0f);
    // A scale at or below 0 is never kept.
    camera.SetSceneScale(-1.0f);
    scene.MouseMove({.LeftButton = true, .Ctrl = true}, scene.Mouse3DLastX, scene.Mouse3DLastY + 5);
    EXPECT_FLOAT_EQ(camera.SceneScale(), 0.001f);
    scene.ScaleCamera(1.5f);
    EXPECT_FLOAT_EQ(camera.SceneScale(), 0.0015f);
}

// However far the zoom steps go, the scene scale stays finite and above 0,
// and a pan after them keeps the camera and its target finite: a scale that
// underflows makes a pan's ratio 0.5 / scale infinite, and the view is lost.
TEST(NcScene3D, NoZoomStepsLoseTheView)
{
    const auto ctrlDrag = [](TNcScene3D& scene, int dy) {
        scene.MouseMove({.LeftButton = true, .Ctrl = true}, scene.Mouse3DLastX, scene.Mouse3DLastY - dy);
    };
    const struct {
        const char* Name;
        std::function<void(TNcScene3D&)> Zoom;
        bool In;
    } cases[] = {
        {"Ctrl drags down", [&](TNcScene3D& scene) { ctrlDrag(scene, -5); }, false},
        {"Ctrl drags up", [&](TNcScene3D& scene) { ctrlDrag(scene, 5); }, true},
        {"zoom back", [](TNcScene3D& scene) { scene.ScaleCamera(0.5f); }, false},
        {"zoom in", [](TNcScene3D& scene) { scene.ScaleCamera(1.5f); }, true},
    };
    for (const auto& zoom : cases) {
        TNcScene3D scene;
        TGLCamera& camera = scene.GLCamera1;
        scene.MouseDown(100, 100);
        float last = camera.SceneScale();
        for (int k = 0; k < 2000; ++k) {
            zoom.Zoom(scene);
            const float scale = camera.SceneScale();
            ASSERT_TRUE(std::isfinite(scale) && scale > 0.0f) << zoom.Name << " step " << k << ": " << scale;
            // A step never turns round: zooming in never shows more.
            ASSERT_TRUE(zoom.In ? scale >= last : scale <= last) << zoom.Name << " step " << k;
            last = scale;
        }
        scene.MouseMove({.LeftButton = true, .Shift = true}, scene.Mouse3DLastX + 900, scene.Mouse3DLastY - 700);
        for (const Vector4f& v : {camera.Position().AsVector(), scene.GLDummyCube1.Position().AsVector()})
            EXPECT_TRUE(std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z)) << zoom.Name;
    }
}

// The views place the camera round the target at its distance from the
// origin; the up axis stays +Z and the camera keeps looking at the target.
TEST(NcScene3D, TheViewsPlaceTheCamera)
{
    TNcScene3D scene;
    scene.GLDummyCube1.SetPosition({10, 20, 0, 1});
    const float dist = Distance(scene.GLCamera1.Position().AsVector(), {0, 0, 0, 1});
    scene.Preset(TViewPreset::Front);
    ExpectNear(scene.GLCamera1.Position().AsVector(), 10, 20 - dist, 0, 0.01f);
    ExpectNear(scene.GLCamera1.Direction().AsVector(), 0, 1, 0);
    scene.Preset(TViewPreset::Top);
    const Vector4f top = scene.GLCamera1.Position().AsVector();
    EXPECT_LT(top.Y, 20.0f);
    EXPECT_GT(top.Z, 1000.0f);
    ExpectNear(scene.GLCamera1.Up().AsVector(), 0, 0, 1);
    EXPECT_EQ(scene.GLCamera1.TargetObject(), &scene.GLDummyCube1);
}

// The autozoom frames the box of the moves, and the extents box shows it;
// before the first move there is no box, and a box of no size is no frame.
TEST(NcScene3D, AutozoomAndTheExtentsBoxNeedAMove)
{
    TNcScene3D scene;
    TNcExtents plane;
    const Vector4f camera = scene.GLCamera1.Position().AsVector();
    scene.Autozoom({plane});
    scene.ShowExtents(true, {plane});
    EXPECT_TRUE(Same(scene.GLCamera1.Position().AsVector(), camera));
    EXPECT_FALSE(scene.GLEstensioneCnc.Visible());

    plane.Include(5, 5);
    scene.Autozoom({plane, 5.0f, 5.0f});
    EXPECT_TRUE(Same(scene.GLCamera1.Position().AsVector(), camera)) << "a single point has no size to frame";
    EXPECT_EQ(scene.GLCamera1.SceneScale(), 1.0f);

    plane.Include(35, 45);
    scene.ShowExtents(true, {plane, 5.0f, -5.0f});
    EXPECT_TRUE(scene.GLEstensioneCnc.Visible());
    ExpectNear(scene.GLEstensioneCnc.Position().AsVector(), 20, 25, 0);
    EXPECT_EQ(scene.GLEstensioneCnc.CubeWidth(), 30.0f);
    EXPECT_EQ(scene.GLEstensioneCnc.CubeHeight(), 40.0f);
    EXPECT_EQ(scene.GLEstensioneCnc.CubeDepth(), 10.0f);
    scene.ShowExtents(false, {plane, 5.0f, -5.0f});
    EXPECT_FALSE(scene.GLEstensioneCnc.Visible());

    // Only rapids so far: the box is flat at their Z.
    scene.ShowExtents(true, {plane, 5.0f, 9999.0f});
    EXPECT_EQ(scene.GLEstensioneCnc.CubeDepth(), 0.0f);
    ExpectNear(scene.GLEstensioneCnc.Position().AsVector(), 20, 25, 5);

    scene.Autozoom({plane, 5.0f, -5.0f});
    const float diagonal = std::sqrt(30.0f * 30 + 40 * 40 + 10 * 10);
    ExpectNear(scene.GLDummyCube1.Position().AsVector(), 20, 25, 0);
    EXPECT_FLOAT_EQ(scene.GLCamera1.SceneScale(), 100.0f / diagonal);
    EXPECT_FLOAT_EQ(scene.GLCamera1.DepthOfView(), 100.0f * diagonal);
    EXPECT_NEAR(Distance(scene.GLCamera1.Position().AsVector(), scene.GLDummyCube1.Position().AsVector()),
                2 * diagonal, 0.01f);
}

#include "view3d/ui/NcScene3D.h"

#include <algorithm>
#include <cmath>

#include "cam/simulation/NcSimulation.h"
#include "edit/commands/ViewNavigation.h"
#include "view3d/objects/Cube.h"
#include "view3d/objects/DummyCube.h"
#include "view3d/objects/Lines.h"
#include "view3d/objects/Points.h"
#include "view3d/scene/GLCamera.h"
#include "view3d/scene/GLLightSource.h"

namespace {

constexpr float kZoomStep = 1.1f;
// The zoom steps stop at these scales: beyond them a pan's ratio 0.5 / scale
// or the projection's 100 / scale overflows, and the camera is lost for good.
constexpr float kSmallestSceneScale = 0.001f;
constexpr float kLargestSceneScale = 1e6f;
// The lowest Z values before the read-back met one.
constexpr float kNoZ = 9999.0f;

TVector3 Affine(const Vector4f& v)
{
    return {v.X, v.Y, v.Z};
}

Vector4f Point(TVector3 v)
{
    return {v.X, v.Y, v.Z, 1.0f};
}

// A zoom step's scale, held to the scales the camera can work with; one at or
// below 0 (or not a number) becomes the smallest.
float ZoomScale(float scale)
{
    return scale > kSmallestSceneScale ? std::min(scale, kLargestSceneScale) : kSmallestSceneScale;
}

// The box of the moves: the plane's extents and the Z range between the two
// lowest Z values that were read. None before the first move.
std::optional<TNcExtent> ExtentBox(const TNcSceneExtents& extents)
{
    if (extents.Plane.Empty)
        return std::nullopt;
    float zLow = std::min(extents.ZMinRapid, extents.ZMinWork);
    float zHigh = std::max(extents.ZMinRapid, extents.ZMinWork);
    if (zHigh == kNoZ)
        zHigh = zLow;
    if (zLow == kNoZ)
        zLow = zHigh = 0.0f;
    return TNcExtent{{extents.Plane.XMin, extents.Plane.YMin, zLow}, {extents.Plane.XMax, extents.Plane.YMax, zHigh}};
}

} // namespace

TNcScene3D::TNcScene3D()
    : GLDummyCube1(GLScene1.Objects().AddNewChild<TGLDummyCube>())
    , GLCube1(GLDummyCube1.AddNewChild<TGLCube>())
    , GLOrigine(GLScene1.Objects().AddNewChild<TGLPoints>())
    , GLCncMov(GLOrigine.AddNewChild<TGLLines>())
    , GLEstensioneCnc(GLOrigine.AddNewChild<TGLCube>())
    , GLCamera1(GLScene1.Cameras().AddNewChild<TGLCamera>())
    , GLLuce1(GLCamera1.AddNewChild<TGLLightSource>())
{
    // The target, which panning moves; hidden with its child cube.
    GLDummyCube1.SetVisible(false);
    GLDummyCube1.SetCubeSize(1.0f);
    GLCube1.SetCubeWidth(20.0f);
    GLCube1.SetCubeHeight(10.0f);
    GLCube1.SetCubeDepth(10.0f);
    GLCube1.Material().SetBlendingMode(TBlendingMode::bmTransparency);

    // The origin: one point and the world axes through it.
    GLOrigine.SetSize(0.1f);
    GLOrigine.SetShowAxes(true);

    GLCncMov.SetNodeColor({NC_NODE_WORK.R, NC_NODE_WORK.G, NC_NODE_WORK.B, 1.0f});
    GLCncMov.SetNodesAspect(TLineNodesAspect::lnaInvisible);
    GLCncMov.SetOption(TLinesOption::loUseNodeColorForLines, true);

    GLEstensioneCnc.Material().FrontProperties().Diffuse().SetColor({0.898039f, 0.937255f, 0.8f, 0.222f});
    GLEstensioneCnc.Material().FrontProperties().SetShininess(113);
    GLEstensioneCnc.Material().SetBlendingMode(TBlendingMode::bmTransparency);
    GLEstensioneCnc.SetVisible(false);

    GLCamera1.SetCameraStyle(TGLCameraStyle::csOrthogonal);
    GLCamera1.SetDepthOfView(10000.0f);
    GLCamera1.SetFocalLength(1.0f);
    GLCamera1.SetTargetObject(&GLDummyCube1);
    GLCamera1.SetPosition({2500.0f, -2500.0f, 2300.0f, 1.0f});
    // The camera looks at its target with +Z up; its own axes (which carry
    // the light) are kept level with the view, never along the up axis.
    GLCamera1.SetUp({0.0f, 0.0f, 1.0f, 0.0f});
    CameraChanged();

    GLLuce1.SetPosition({100.0f, 100.0f, 500.0f, 1.0f});
    GLLuce1.SetConstAttenuation(1.0f);
    GLLuce1.SetSpotCutOff(180.0f);

    Buffer.SetCamera(&GLCamera1);
    Buffer.SetShadeModel(TGLShadeModel::smFlat);
}

TNcScene3D::~TNcScene3D() = default;

void TNcScene3D::BeginUpdate()
{
    GLCncMov.Nodes().BeginUpdate();
}

void TNcScene3D::EndUpdate()
{
    GLCncMov.Nodes().EndUpdate();
}

void TNcScene3D::AddNode(float x, float y, float z, std::optional<TNcNodeColor> color)
{
    // The node and its colour reach the line as one change.
    GLCncMov.Nodes().BeginUpdate();
    TGLLinesNode& node = GLCncMov.AddNode({x, y, z});
    if (color)
        node.Color().SetColor({color->R, color->G, color->B, node.Color().Alpha()});
    GLCncMov.Nodes().EndUpdate();
}

void TNcScene3D::ClearToolpath()
{
    GLCncMov.Nodes().Clear();
}

void TNcScene3D::MouseDown(int x, int y)
{
    Mouse3DLastX = x;
    Mouse3DLastY = y;
}

void TNcScene3D::MouseMove(const TMouse3DState& held, int x, int y)
{
    // Positive when the mouse moves left or up.
    const int dx = Mouse3DLastX - x;
    const int dy = Mouse3DLastY - y;
    Mouse3DLastX = x;
    Mouse3DLastY = y;
    if (!held.LeftButton)
        return;
    if (held.Shift || held.PanCommand) {
        const Vector4f v = GLCamera1.ScreenDeltaToWorld(dx, -dy, 0.5f / GLCamera1.SceneScale());
        GLDummyCube1.TranslatePosition(v.X, v.Y, v.Z);
        GLCamera1.TranslatePosition(v.X, v.Y, v.Z);
        CameraChanged();
    } else if (held.Ctrl) {
        if (dy > 0)
            GLCamera1.SetSceneScale(ZoomScale(GLCamera1.SceneScale() * kZoomStep));
        else if (dy < 0)
            GLCamera1.SetSceneScale(ZoomScale(GLCamera1.SceneScale() / kZoomStep));
    } else {
        GLCamera1.OrbitTarget(static_cast<float>(dy), static_cast<float>(dx));
        CameraChanged();
    }
}

void TNcScene3D::Preset(TViewPreset preset)
{
    const TVector3 position =
        PresetCameraPosition(preset, Affine(GLCamera1.Position().AsVector()), Affine(GLDummyCube1.Position().AsVector()));
    GLCamera1.SetPosition(Point(position));
    CameraChanged();
}

void TNcScene3D::ScaleCamera(float factor)
{
    GLCamera1.SetSceneScale(ZoomScale(GLCamera1.SceneScale() * factor));
}

void TNcScene3D::Autozoom(const TNcSceneExtents& extents)
{
    const std::optional<TNcExtent> box = ExtentBox(extents);
    if (!box)
        return;
    const std::optional<TCamera3D> framed =
        Autozoom3D(*box, Affine(GLCamera1.Position().AsVector()), Affine(GLDummyCube1.Position().AsVector()));
    if (!framed)
        return;
    GLDummyCube1.SetPosition(Point(framed->Cube));
    GLCamera1.SetPosition(Point(framed->Camera));
    GLCamera1.SetSceneScale(framed->SceneScale);
    GLCamera1.SetDepthOfView(framed->DepthOfView);
    CameraChanged();
}

void TNcScene3D::ShowExtents(bool show, const TNcSceneExtents& extents)
{
    const std::optional<TNcExtent> box = ExtentBox(extents);
    if (!show || !box) {
        GLEstensioneCnc.SetVisible(false);
        return;
    }
    GLEstensioneCnc.SetPosition({(box->Min.X + box->Max.X) / 2.0f, (box->Min.Y + box->Max.Y) / 2.0f,
                                 (box->Min.Z + box->Max.Z) / 2.0f, 1.0f});
    GLEstensioneCnc.SetCubeWidth(box->Max.X - box->Min.X);
    GLEstensioneCnc.SetCubeHeight(box->Max.Y - box->Min.Y);
    GLEstensioneCnc.SetCubeDepth(box->Max.Z - box->Min.Z);
    GLEstensioneCnc.SetVisible(true);
}

void TNcScene3D::SetBackgroundColor(TColor color)
{
    Buffer.SetBackgroundColor(color);
}

void TNcScene3D::CameraChanged()
{
    const Vector4f camera = GLCamera1.Position().AsVector();
    const Vector4f target = GLDummyCube1.Position().AsVector();
    const float x = target.X - camera.X;
    const float y = target.Y - camera.Y;
    // Level, so that Up stays +Z; straight above the target it stays as it was.
    if (x != 0.0f || y != 0.0f)
        GLCamera1.SetDirection({x, y, 0.0f, 0.0f});
    GLCamera1.MarkTransformChanged();
}

#include "view3d/objects/NodedLines.h"

#include <algorithm>
#include <cmath>

#include "view3d/material/RenderContextInfo.h"
#include "view3d/objects/ChangeProperty.h"
#include "view3d/objects/CubeGeometry.h"
#include "view3d/objects/Dodecahedron.h"
#include "view3d/opengl/GLFunctions.h"

namespace {

constexpr std::uint16_t kAxesPattern = 0xCCCC;

// From the origin to minus the length on each axis in half intensity, to
// plus the length in full: X red, Y green, Z blue.
void DrawAxes(float length)
{
    const TGLFunctions& gl = GL();
    gl.Begin(GL_LINES);
    for (int axis = 0; axis < 3; ++axis) {
        float end[3] = {0, 0, 0};
        float colour[3] = {0, 0, 0};
        for (float sign : {-1.0f, 1.0f}) {
            colour[axis] = sign < 0 ? 0.5f : 1.0f;
            end[axis] = sign * length;
            gl.Color3fv(colour);
            gl.Vertex3f(0, 0, 0);
            gl.Vertex3fv(end);
        }
    }
    gl.End();
}

} // namespace

TGLNodedLines::TGLNodedLines(TGLNotifyObject* owner)
    : TGLLineBase(owner)
    , NodeList(this, [this](TGLNodes& nodes) { return std::make_unique<TGLLinesNode>(nodes, NodeColorValue.Color()); })
    , NodeColorValue(this, {0.0f, 0.0f, 1.0f, 1.0f}, [this](TGLNotifyObject&) { NodeColorChanged(); })
    , PreviousNodeColor(NodeColorValue.Color())
{
}

TGLLinesNode& TGLNodedLines::AddNode(const Vector3f& point)
{
    NodeList.BeginUpdate();
    auto& node = static_cast<TGLLinesNode&>(NodeList.AddNode());
    node.SetX(point.X);
    node.SetY(point.Y);
    node.SetZ(point.Z);
    NodeList.EndUpdate();
    return node;
}

void TGLNodedLines::SetNodesAspect(TLineNodesAspect value)
{
    ChangeProperty(*this, Aspect, value);
}

void TGLNodedLines::SetNodeSize(float value)
{
    ChangeProperty(*this, MarkerSize, value);
}

void TGLNodedLines::NotifyChange(TGLNotifyObject* sender)
{
    if (sender == &NodeList)
        StructureChanged();
    else
        TGLLineBase::NotifyChange(sender);
}

void TGLNodedLines::NodeColorChanged()
{
    const Vector4f previous = PreviousNodeColor;
    const Vector4f current = NodeColorValue.Color();
    PreviousNodeColor = current;
    NodeList.BeginUpdate();
    for (int i = 0; i < NodeList.Count(); ++i) {
        TGLColor& colour = Node(i).Color();
        const Vector4f& c = colour.Color();
        if (c.X == previous.X && c.Y == previous.Y && c.Z == previous.Z && c.W == previous.W)
            colour.SetColor(current);
    }
    NodeList.EndUpdate();
}

Vector3f TGLNodedLines::AxisAlignedDimensionsUnscaled() const
{
    Vector3f extent{};
    for (int i = 0; i < NodeList.Count(); ++i) {
        const Vector4f& p = NodeList[i].AsVector();
        extent.X = std::max(extent.X, std::abs(p.X));
        extent.Y = std::max(extent.Y, std::abs(p.Y));
        extent.Z = std::max(extent.Z, std::abs(p.Z));
    }
    return extent;
}

void TGLNodedLines::DrawNodes(const TRenderContextInfo& rci) const
{
    if (Aspect == TLineNodesAspect::lnaInvisible)
        return;
    const TGLFunctions& gl = GL();
    gl.PushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_LINE_BIT | GL_CURRENT_BIT | GL_LIGHTING_BIT);
    if (!rci.IgnoreBlendingRequests) {
        gl.Enable(GL_BLEND);
        gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    gl.Disable(GL_TEXTURE_2D);
    if (Aspect == TLineNodesAspect::lnaAxes) {
        gl.Disable(GL_LIGHTING);
        gl.Enable(GL_LINE_STIPPLE);
        gl.LineStipple(1, kAxesPattern);
        gl.LineWidth(1);
    }
    for (int i = 0; i < NodeList.Count(); ++i) {
        const TGLLinesNode& node = Node(i);
        gl.PushMatrix();
        gl.Translatef(node.X(), node.Y(), node.Z());
        DrawMarker(node);
        gl.PopMatrix();
    }
    gl.PopAttrib();
}

void TGLNodedLines::DrawMarker(const TGLLinesNode& node) const
{
    const TGLFunctions& gl = GL();
    switch (Aspect) {
    case TLineNodesAspect::lnaInvisible:
        break;
    case TLineNodesAspect::lnaAxes:
        DrawAxes(MarkerSize / 2);
        break;
    case TLineNodesAspect::lnaCube:
        gl.Color4fv(node.Color().AsAddress());
        gl.Begin(GL_LINES);
        for (const Vector3f& p : CubeEdgePoints(MarkerSize))
            gl.Vertex3f(p.X, p.Y, p.Z);
        gl.End();
        break;
    case TLineNodesAspect::lnaDodecahedron:
        gl.Materialfv(GL_FRONT, GL_DIFFUSE, node.Color().AsAddress());
        gl.Scalef(MarkerSize, MarkerSize, MarkerSize);
        for (const TDodecahedronFace& face : DodecahedronFaces()) {
            gl.Begin(GL_POLYGON);
            gl.Normal3f(face.Normal.X, face.Normal.Y, face.Normal.Z);
            for (const Vector3f& p : face.Corners)
                gl.Vertex3f(p.X, p.Y, p.Z);
            gl.End();
        }
        break;
    }
}

std::unique_ptr<TGLBaseSceneObject> TGLNodedLines::CreateNew() const
{
    return std::make_unique<TGLNodedLines>();
}

void TGLNodedLines::Assign(const TGLBaseSceneObject& source)
{
    const auto* other = dynamic_cast<const TGLNodedLines*>(&source);
    if (other && other != this) {
        Aspect = other->Aspect;
        NodeColorValue.Initialize(other->NodeColorValue.Color());
        PreviousNodeColor = other->PreviousNodeColor;
        MarkerSize = other->MarkerSize;
        NodeList.BeginUpdate();
        NodeList.Clear();
        for (int i = 0; i < other->NodeList.Count(); ++i)
            NodeList.AddNode().Assign(other->NodeList[i]);
        NodeList.EndUpdate();
        StructureChanged();
    }
    TGLLineBase::Assign(source);
}

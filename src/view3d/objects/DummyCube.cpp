#include "view3d/objects/DummyCube.h"

#include <cmath>

#include "view3d/material/RenderContextInfo.h"
#include "view3d/maths/VectorGeometry.h"
#include "view3d/objects/ChangeProperty.h"
#include "view3d/objects/CubeGeometry.h"
#include "view3d/opengl/GLFunctions.h"

TGLDummyCube::TGLDummyCube(TGLNotifyObject* owner)
    : TGLCameraInvariantObject(owner), EdgeColorValue(this, {1.0f, 1.0f, 1.0f, 1.0f})
{
    SetObjectStyle(TGLObjectStyle::osDirectDraw, true);
}

TGLDummyCube::~TGLDummyCube() = default;

void TGLDummyCube::SetCubeSize(float value)
{
    ChangeProperty(*this, Size, value);
}

void TGLDummyCube::SetVisibleAtRunTime(bool value)
{
    ChangeProperty(*this, ShownAtRunTime, value);
}

void TGLDummyCube::SetAmalgamate(bool value)
{
    ChangeProperty(*this, Amalgamated, value);
}

Vector4f TGLDummyCube::BarycenterAbsolutePosition() const
{
    if (Count() == 0)
        return AbsolutePosition();
    Vector4f sum{};
    for (int i = 0; i < Count(); ++i) {
        const TGLBaseSceneObject& child = Children(i);
        const auto* group = dynamic_cast<const TGLDummyCube*>(&child);
        sum = Vector4Add(sum, group ? group->BarycenterAbsolutePosition() : child.AbsolutePosition());
    }
    return Vector4Scale(sum, 1.0f / float(Count()));
}

void TGLDummyCube::BuildList(TRenderContextInfo& /*rci*/)
{
    if (!ShownAtRunTime)
        return;
    const TGLFunctions& gl = GL();
    gl.PushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    gl.Disable(GL_LIGHTING);
    gl.Enable(GL_LINE_SMOOTH);
    gl.Enable(GL_LINE_STIPPLE);
    gl.LineStipple(1, 0xCCCC);
    gl.Enable(GL_BLEND);
    gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl.LineWidth(1);
    gl.Color4fv(EdgeColorValue.AsAddress());
    gl.Begin(GL_LINES);
    for (const Vector3f& p : CubeEdgePoints(Size))
        gl.Vertex3f(p.X, p.Y, p.Z);
    gl.End();
    gl.PopAttrib();
}

void TGLDummyCube::RenderSelfAndChildren(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    if (OnVisibilityDetermination && !OnVisibilityDetermination(*this, rci))
        return;
    // Inside another amalgamating object, drawing goes into that one's list.
    if (!Amalgamated || rci.Amalgamating) {
        TGLCameraInvariantObject::RenderSelfAndChildren(rci, renderSelf, renderChildren);
        return;
    }
    const TGLFunctions& gl = GL();
    if (GroupListStale || GroupList.Handle() == 0) {
        if (GroupList.Handle() == 0)
            GroupList.AllocateHandle();
        gl.NewList(GroupList.Handle(), GL_COMPILE);
        rci.Amalgamating = true;
        TGLCameraInvariantObject::RenderSelfAndChildren(rci, renderSelf, renderChildren);
        rci.Amalgamating = false;
        gl.EndList();
        GroupListStale = false;
    }
    gl.CallList(GroupList.Handle());
}

void TGLDummyCube::StructureChanged()
{
    GroupListStale = true;
    TGLCameraInvariantObject::StructureChanged();
}

Vector3f TGLDummyCube::AxisAlignedDimensionsUnscaled() const
{
    const float half = std::abs(Size) / 2;
    return {half, half, half};
}

bool TGLDummyCube::RayCastIntersect(const Vector4f&, const Vector4f&, Vector4f*, Vector4f*) const
{
    return false;
}

std::unique_ptr<TGLBaseSceneObject> TGLDummyCube::CreateNew() const
{
    return std::make_unique<TGLDummyCube>();
}

void TGLDummyCube::Assign(const TGLBaseSceneObject& source)
{
    const auto* other = dynamic_cast<const TGLDummyCube*>(&source);
    if (other && other != this) {
        Size = other->Size;
        EdgeColorValue.Initialize(other->EdgeColorValue.Color());
        ShownAtRunTime = other->ShownAtRunTime;
        Amalgamated = other->Amalgamated;
        OnVisibilityDetermination = other->OnVisibilityDetermination;
        GroupListStale = true;
        StructureChanged();
    }
    TGLCameraInvariantObject::Assign(source);
}

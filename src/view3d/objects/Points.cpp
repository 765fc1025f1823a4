#include "view3d/objects/Points.h"

#include <algorithm>

#include "view3d/objects/ChangeProperty.h"
#include "view3d/opengl/GLCapabilities.h"
#include "view3d/opengl/GLEntryPoints.h"
#include "view3d/opengl/GLFunctions.h"

namespace {

// Above this many points, locking the arrays pays for itself.
constexpr int kLockArraysAbove = 64;

constexpr float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr float kOrigin[3] = {0.0f, 0.0f, 0.0f};

void SetupStyle(TGLPointStyle style)
{
    const TGLFunctions& gl = GL();
    switch (style) {
    case TGLPointStyle::psSquare:
        gl.Disable(GL_BLEND);
        break;
    case TGLPointStyle::psRound:
        gl.Enable(GL_POINT_SMOOTH);
        gl.Enable(GL_ALPHA_TEST);
        gl.AlphaFunc(GL_GREATER, 0.5f);
        gl.Disable(GL_BLEND);
        break;
    case TGLPointStyle::psSmooth:
        gl.Enable(GL_POINT_SMOOTH);
        gl.Enable(GL_ALPHA_TEST);
        gl.AlphaFunc(GL_NOTEQUAL, 0.0f);
        gl.Enable(GL_BLEND);
        gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        break;
    case TGLPointStyle::psSmoothAdditive:
        gl.Enable(GL_POINT_SMOOTH);
        gl.Enable(GL_ALPHA_TEST);
        gl.AlphaFunc(GL_NOTEQUAL, 0.0f);
        gl.Enable(GL_BLEND);
        gl.BlendFunc(GL_SRC_ALPHA, GL_ONE);
        break;
    case TGLPointStyle::psSquareAdditive:
        gl.Enable(GL_BLEND);
        gl.BlendFunc(GL_SRC_ALPHA, GL_ONE);
        break;
    }
}

} // namespace

TGLPoints::TGLPoints(TGLNotifyObject* owner) : TGLImmaterialSceneObject(owner), Parameters(this)
{
    SetObjectStyle(TGLObjectStyle::osDirectDraw, true);
    SetObjectStyle(TGLObjectStyle::osNoVisibilityCulling, true);
}

void TGLPoints::SetPositions(const TAffineVectorList& value)
{
    PositionList.Assign(value);
    StructureChanged();
}

void TGLPoints::SetColors(const TVectorList& value)
{
    ColorList.Assign(value);
    StructureChanged();
}

void TGLPoints::SetSize(float value)
{
    if (!(value > 0.0f))
        value = kDefaultSize;
    if (PointSize == value)
        return;
    PointSize = value;
    StructureChanged();
}

void TGLPoints::SetStyle(TGLPointStyle value)
{
    ChangeProperty(*this, PointStyle, value);
}

void TGLPoints::SetNoZWrite(bool value)
{
    ChangeProperty(*this, DepthWritesOff, value);
}

void TGLPoints::SetStatic(bool value)
{
    if (IsStatic == value)
        return;
    IsStatic = value;
    SetObjectStyle(TGLObjectStyle::osDirectDraw, !value);
    StructureChanged();
}

void TGLPoints::NotifyChange(TGLNotifyObject* sender)
{
    if (sender == &Parameters)
        StructureChanged();
    else
        TGLImmaterialSceneObject::NotifyChange(sender);
}

void TGLPoints::BuildList(TRenderContextInfo& /*rci*/)
{
    const TGLFunctions& gl = GL();
    const int positions = PositionList.Count();
    const int colours = ColorList.Count();
    // No positions still shows one point, at the origin.
    const float* vertices = positions > 0 ? &PositionList.Items()[0].X : kOrigin;
    int count = std::max(positions, 1);
    if (colours == 0) {
        gl.Color4fv(kWhite);
    } else if (colours == 1) {
        gl.Color4fv(&ColorList.Items()[0].X);
    } else {
        count = std::min(count, colours);
        gl.ColorPointer(4, GL_FLOAT, 0, &ColorList.Items()[0].X);
        gl.EnableClientState(GL_COLOR_ARRAY);
    }
    gl.VertexPointer(3, GL_FLOAT, 0, vertices);
    gl.EnableClientState(GL_VERTEX_ARRAY);

    gl.PushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_POINT_BIT | GL_DEPTH_BUFFER_BIT);
    gl.Disable(GL_LIGHTING);
    if (DepthWritesOff)
        gl.DepthMask(GL_FALSE);
    gl.PointSize(PointSize);
    Parameters.Apply();
    const TGLEntryPoints& entries = GLEntryPoints();
    const bool lock = count > kLockArraysAbove && GLCapabilities().Has(kEXT_compiled_vertex_array) &&
                      entries.LockArraysEXT && entries.UnlockArraysEXT;
    if (lock)
        entries.LockArraysEXT(0, count);
    SetupStyle(PointStyle);
    gl.DrawArrays(GL_POINTS, 0, count);
    if (lock)
        entries.UnlockArraysEXT();
    Parameters.UnApply();
    gl.AlphaFunc(GL_GREATER, 0.0f);
    gl.PopAttrib();

    gl.DisableClientState(GL_VERTEX_ARRAY);
    if (colours > 1)
        gl.DisableClientState(GL_COLOR_ARRAY);
}

std::unique_ptr<TGLBaseSceneObject> TGLPoints::CreateNew() const
{
    return std::make_unique<TGLPoints>();
}

void TGLPoints::Assign(const TGLBaseSceneObject& source)
{
    const auto* other = dynamic_cast<const TGLPoints*>(&source);
    if (other && other != this) {
        PositionList.Assign(other->PositionList);
        ColorList.Assign(other->ColorList);
        PointSize = other->PointSize;
        PointStyle = other->PointStyle;
        DepthWritesOff = other->DepthWritesOff;
        SetStatic(other->IsStatic);
        Parameters.Assign(other->Parameters);
        StructureChanged();
    }
    TGLImmaterialSceneObject::Assign(source);
}

#include "view3d/objects/LineBase.h"

#include "view3d/objects/ChangeProperty.h"
#include "view3d/opengl/GLFunctions.h"

TGLLineBase::TGLLineBase(TGLNotifyObject* owner)
    : TGLImmaterialSceneObject(owner), LineColorValue(this, {1.0f, 1.0f, 1.0f, 1.0f})
{
}

void TGLLineBase::SetLinePattern(std::uint16_t value)
{
    ChangeProperty(*this, Pattern, value);
}

void TGLLineBase::SetLineWidth(float value)
{
    ChangeProperty(*this, Width, value);
}

void TGLLineBase::SetAntiAliased(bool value)
{
    ChangeProperty(*this, Smooth, value);
}

void TGLLineBase::SetupLineStyle() const
{
    const TGLFunctions& gl = GL();
    gl.PushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    gl.Disable(GL_LIGHTING);
    bool blend = false;
    if (Pattern != kSolidLine) {
        gl.Enable(GL_LINE_STIPPLE);
        gl.LineStipple(1, Pattern);
        blend = true;
    }
    if (Smooth) {
        gl.Enable(GL_LINE_SMOOTH);
        blend = true;
    } else {
        gl.Disable(GL_LINE_SMOOTH);
    }
    gl.LineWidth(Width);
    const bool translucent = LineColorValue.Alpha() != 1.0f;
    if (blend || translucent) {
        gl.Enable(GL_BLEND);
        gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    if (translucent)
        gl.Color4fv(LineColorValue.AsAddress());
    else
        gl.Color3fv(LineColorValue.AsAddress());
}

void TGLLineBase::RestoreLineStyle()
{
    GL().PopAttrib();
}

std::unique_ptr<TGLBaseSceneObject> TGLLineBase::CreateNew() const
{
    return std::make_unique<TGLLineBase>();
}

void TGLLineBase::Assign(const TGLBaseSceneObject& source)
{
    const auto* other = dynamic_cast<const TGLLineBase*>(&source);
    if (other && other != this) {
        LineColorValue.Initialize(other->LineColorValue.Color());
        Pattern = other->Pattern;
        Width = other->Width;
        Smooth = other->Smooth;
        StructureChanged();
    }
    TGLImmaterialSceneObject::Assign(source);
}

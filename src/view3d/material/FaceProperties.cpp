#include "view3d/material/FaceProperties.h"

#include <algorithm>

#include "view3d/material/RenderContextInfo.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/opengl/GLStateCache.h"

GLenum PolygonModeToGL(TPolygonMode mode)
{
    switch (mode) {
    case TPolygonMode::pmLines: return GL_LINE;
    case TPolygonMode::pmPoints: return GL_POINT;
    case TPolygonMode::pmFill: break;
    }
    return GL_FILL;
}

TGLFaceProperties::TGLFaceProperties(TGLNotifyObject* owner)
    : TGLUpdateAbleObject(owner),
      AmbientColor(this, {0.2f, 0.2f, 0.2f, 1.0f}),
      DiffuseColor(this, {0.8f, 0.8f, 0.8f, 1.0f}),
      EmissionColor(this),
      SpecularColor(this)
{
}

void TGLFaceProperties::SetShininess(int value)
{
    value = std::clamp(value, 0, kMaxShininess);
    if (value == ShininessValue)
        return;
    ShininessValue = value;
    NotifyChange(this);
}

void TGLFaceProperties::SetPolygonMode(TPolygonMode value)
{
    if (value == Mode)
        return;
    Mode = value;
    NotifyChange(this);
}

void TGLFaceProperties::Assign(const TGLFaceProperties& source)
{
    CopyValues(source);
    NotifyChange(this);
}

void TGLFaceProperties::CopyValues(const TGLFaceProperties& source)
{
    AmbientColor.Initialize(source.AmbientColor.Color());
    DiffuseColor.Initialize(source.DiffuseColor.Color());
    EmissionColor.Initialize(source.EmissionColor.Color());
    SpecularColor.Initialize(source.SpecularColor.Color());
    ShininessValue = source.ShininessValue;
    Mode = source.Mode;
}

void TGLFaceProperties::Apply(TRenderContextInfo& rci, GLenum face) const
{
    rci.GLStates->SetMaterialColors(face, EmissionColor.Color(), AmbientColor.Color(), DiffuseColor.Color(),
                                    SpecularColor.Color(), ShininessValue);
    rci.GLStates->SetPolygonMode(face, PolygonModeToGL(Mode));
}

void TGLFaceProperties::ApplyNoLighting(TRenderContextInfo& rci, GLenum face) const
{
    GL().Color4fv(DiffuseColor.AsAddress());
    rci.GLStates->SetPolygonMode(face, PolygonModeToGL(Mode));
}

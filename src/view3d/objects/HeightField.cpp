#include "view3d/objects/HeightField.h"

#include "view3d/material/RenderContextInfo.h"
#include "view3d/objects/ChangeProperty.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/opengl/GLStateCache.h"

namespace {

GLenum ColorMaterialMode(THeightFieldColorMode mode)
{
    switch (mode) {
    case THeightFieldColorMode::hfcmEmission:
        return GL_EMISSION;
    case THeightFieldColorMode::hfcmAmbient:
        return GL_AMBIENT;
    case THeightFieldColorMode::hfcmDiffuse:
        return GL_DIFFUSE;
    case THeightFieldColorMode::hfcmAmbientAndDiffuse:
    case THeightFieldColorMode::hfcmNone:
        break;
    }
    return GL_AMBIENT_AND_DIFFUSE;
}

} // namespace

TGLHeightField::TGLHeightField(TGLNotifyObject* owner) : TGLSceneObject(owner), XScale(this), YScale(this) {}

std::unique_ptr<TGLBaseSceneObject> TGLHeightField::CreateNew() const { return std::make_unique<TGLHeightField>(); }

void TGLHeightField::Assign(const TGLBaseSceneObject& source)
{
    if (const auto* other = dynamic_cast<const TGLHeightField*>(&source); other && other != this) {
        XScale.Assign(other->XScale);
        YScale.Assign(other->YScale);
        ColorModeValue = other->ColorModeValue;
        OptionsValue = other->OptionsValue;
        OnGetHeight = other->OnGetHeight;
        OnGetHeight2 = other->OnGetHeight2;
        StructureChanged();
    }
    TGLSceneObject::Assign(source);
}

void TGLHeightField::SetColorMode(THeightFieldColorMode value) { ChangeProperty(*this, ColorModeValue, value); }
void TGLHeightField::SetOptions(THeightFieldOptions value) { ChangeProperty(*this, OptionsValue, value); }

void TGLHeightField::SetOnGetHeight(TGetHeightEvent handler)
{
    OnGetHeight = std::move(handler);
    StructureChanged();
}

void TGLHeightField::SetOnGetHeight2(TGetHeight2Event handler)
{
    OnGetHeight2 = std::move(handler);
    StructureChanged();
}

void TGLHeightField::NotifyChange(TGLNotifyObject* sender)
{
    if (sender == &XScale || sender == &YScale)
        StructureChanged();
    else
        TGLSceneObject::NotifyChange(sender);
}

THeightFunction TGLHeightField::HeightFunction()
{
    if (OnGetHeight)
        return OnGetHeight;
    if (OnGetHeight2)
        return [this](float x, float y, float& z, Vector4f& color, TTexPoint& texPoint) {
            OnGetHeight2(*this, x, y, z, color, texPoint);
        };
    return BuiltInHeight;
}

void TGLHeightField::SetDrawingStates(TRenderContextInfo& rci)
{
    if (OptionsValue.hfoTwoSided) {
        GL().Disable(GL_CULL_FACE);
        GL().PolygonMode(GL_FRONT_AND_BACK, PolygonModeToGL(Material().FrontProperties().PolygonMode()));
    }
    if (ColorModeValue != THeightFieldColorMode::hfcmNone) {
        GL().Enable(GL_COLOR_MATERIAL);
        GL().ColorMaterial(GL_FRONT_AND_BACK, ColorMaterialMode(ColorModeValue));
        // The material colours follow the vertices now, behind the cache's back.
        if (rci.GLStates != nullptr)
            rci.GLStates->ResetMaterial();
    }
}

void TGLHeightField::DrawStrip(std::span<const THeightFieldSample> lower,
                               std::span<const THeightFieldSample> upper) const
{
    const bool colored = ColorModeValue != THeightFieldColorMode::hfcmNone;
    const auto send = [&](const THeightFieldSample& sample) {
        GL().Normal3fv(&sample.Normal.X);
        if (colored)
            GL().Color4fv(&sample.Color.X);
        if (OptionsValue.hfoTextureCoordinates)
            GL().TexCoord2fv(&sample.TexPoint.S);
        const float position[4] = {sample.Position.X, sample.Position.Y, sample.Position.Z, 1.0f};
        GL().Vertex4fv(position);
    };
    // Upper row first: the triangles then turn counter-clockwise seen from +Z.
    GL().Begin(GL_TRIANGLE_STRIP);
    for (std::size_t i = 0; i < lower.size(); ++i) {
        send(upper[i]);
        send(lower[i]);
    }
    GL().End();
}

void TGLHeightField::BuildList(TRenderContextInfo& rci)
{
    if (!XScale.IsValid() || !YScale.IsValid())
        return;
    // The states go to OpenGL directly inside saved groups: the drawing is
    // usually replayed from a display list, where the state cache cannot
    // follow, and the groups leave the cache true afterwards.
    GL().PushAttrib(GL_ENABLE_BIT | GL_POLYGON_BIT | GL_LIGHTING_BIT);
    SetDrawingStates(rci);
    const std::vector<float> xs = XScale.Values(true);
    const std::vector<float> ys = YScale.Values(true);
    const THeightFieldArea area{XScale.Min(), XScale.Max(), YScale.Min(), YScale.Max()};
    ForEachHeightFieldStrip(xs, ys, HeightFunction(), area,
                            [this](std::span<const THeightFieldSample> lower,
                                   std::span<const THeightFieldSample> upper) { DrawStrip(lower, upper); });
    GL().PopAttrib();
}

#include "view3d/objects/Frustrum.h"

#include "view3d/objects/ChangeProperty.h"
#include "view3d/opengl/GLFunctions.h"

std::unique_ptr<TGLBaseSceneObject> TGLFrustrum::CreateNew() const { return std::make_unique<TGLFrustrum>(); }

void TGLFrustrum::Assign(const TGLBaseSceneObject& source)
{
    if (const auto* other = dynamic_cast<const TGLFrustrum*>(&source); other && other != this) {
        ApexHeightValue = other->ApexHeightValue;
        BaseDepthValue = other->BaseDepthValue;
        BaseWidthValue = other->BaseWidthValue;
        HeightValue = other->HeightValue;
        PartsValue = other->PartsValue;
        NormalDirectionValue = other->NormalDirectionValue;
        StructureChanged();
    }
    TGLCustomSceneObject::Assign(source);
}

void TGLFrustrum::SetApexHeight(float value)
{
    if (value < 0.0f || value == ApexHeightValue)
        return;
    ApexHeightValue = value;
    if (HeightValue > ApexHeightValue)
        HeightValue = ApexHeightValue;
    StructureChanged();
}

void TGLFrustrum::SetBaseDepth(float value)
{
    if (value >= 0.0f)
        ChangeProperty(*this, BaseDepthValue, value);
}

void TGLFrustrum::SetBaseWidth(float value)
{
    if (value >= 0.0f)
        ChangeProperty(*this, BaseWidthValue, value);
}

void TGLFrustrum::SetHeight(float value)
{
    if (value < 0.0f || value == HeightValue)
        return;
    HeightValue = value;
    if (ApexHeightValue < HeightValue)
        ApexHeightValue = HeightValue;
    StructureChanged();
}

void TGLFrustrum::SetParts(TFrustrumParts value) { ChangeProperty(*this, PartsValue, value); }

void TGLFrustrum::SetNormalDirection(TNormalDirection value)
{
    ChangeProperty(*this, NormalDirectionValue, value);
}

void TGLFrustrum::BuildList(TRenderContextInfo& /*rci*/)
{
    const float sign = NormalDirectionValue == TNormalDirection::ndOutside ? 1.0f : -1.0f;
    GL().Begin(GL_QUADS);
    for (const TMeshQuad& quad :
         FrustrumQuads(ApexHeightValue, BaseDepthValue, BaseWidthValue, HeightValue, PartsValue, sign)) {
        GL().Normal3fv(&quad.Normal.X);
        static constexpr float kCornerTexPoints[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (int i = 0; i < 4; ++i) {
            GL().TexCoord2f(kCornerTexPoints[i][0], kCornerTexPoints[i][1]);
            GL().Vertex3fv(&quad.Corners[static_cast<std::size_t>(i)].X);
        }
    }
    GL().End();
}

Vector3f TGLFrustrum::AxisAlignedDimensionsUnscaled() const
{
    return {BaseWidthValue * 0.5f, HeightValue * 0.5f, BaseDepthValue * 0.5f};
}

#include "view3d/objects/Annulus.h"

#include <algorithm>
#include <cmath>

#include "view3d/objects/LocalRayCast.h"
#include "view3d/objects/ScopedQuadric.h"
#include "view3d/objects/ShapeProperty.h"
#include "view3d/opengl/GLFunctions.h"

std::unique_ptr<TGLBaseSceneObject> TGLAnnulus::CreateNew() const { return std::make_unique<TGLAnnulus>(); }

void TGLAnnulus::Assign(const TGLBaseSceneObject& source)
{
    if (const auto* other = dynamic_cast<const TGLAnnulus*>(&source); other && other != this) {
        BottomInnerRadiusValue = other->BottomInnerRadiusValue;
        TopInnerRadiusValue = other->TopInnerRadiusValue;
        TopRadiusValue = other->TopRadiusValue;
        PartsValue = other->PartsValue;
        StructureChanged();
    }
    TGLCylinderBase::Assign(source);
}

void TGLAnnulus::SetBottomInnerRadius(float value) { SetShapeProperty(*this, BottomInnerRadiusValue, value); }
void TGLAnnulus::SetTopInnerRadius(float value) { SetShapeProperty(*this, TopInnerRadiusValue, value); }
void TGLAnnulus::SetTopRadius(float value) { SetShapeProperty(*this, TopRadiusValue, value); }
void TGLAnnulus::SetParts(TAnnulusParts value) { SetShapeProperty(*this, PartsValue, value); }

void TGLAnnulus::BuildList(TRenderContextInfo& /*rci*/)
{
    TScopedQuadric quadric;
    if (!quadric.Get())
        return;
    SetupQuadricParams(quadric.Get());
    GL().PushMatrix();
    // GLU builds along +Z; the tube stands on +Y.
    GL().Rotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    GL().Translatef(0.0f, 0.0f, -HeightValue * 0.5f);
    if (PartsValue.anOuterSides)
        GL().GluCylinder(quadric.Get(), BottomRadiusValue, TopRadiusValue, HeightValue, SlicesValue, StacksValue);
    if (PartsValue.anInnerSides) {
        // The inner wall faces the axis: the other way round from the object's normals.
        const bool outside = NormalDirection() == TNormalDirection::ndOutside;
        GL().GluQuadricOrientation(quadric.Get(), outside ? GLU_INSIDE : GLU_OUTSIDE);
        GL().GluCylinder(quadric.Get(), BottomInnerRadiusValue, TopInnerRadiusValue, HeightValue, SlicesValue,
                         StacksValue);
        GL().GluQuadricOrientation(quadric.Get(), outside ? GLU_OUTSIDE : GLU_INSIDE);
    }
    if (PartsValue.anTop) {
        GL().PushMatrix();
        GL().Translatef(0.0f, 0.0f, HeightValue);
        GL().GluDisk(quadric.Get(), TopInnerRadiusValue, TopRadiusValue, SlicesValue, LoopsValue);
        GL().PopMatrix();
    }
    if (PartsValue.anBottom) {
        GL().Rotatef(180.0f, 1.0f, 0.0f, 0.0f);
        GL().GluDisk(quadric.Get(), BottomInnerRadiusValue, BottomRadiusValue, SlicesValue, LoopsValue);
    }
    GL().PopMatrix();
}

Vector3f TGLAnnulus::AxisAlignedDimensionsUnscaled() const
{
    const float radius = std::max(std::abs(BottomRadiusValue), std::abs(TopRadiusValue));
    return {radius, std::abs(HeightValue) * 0.5f, radius};
}

bool TGLAnnulus::RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector, Vector4f* intersectPoint,
                                  Vector4f* intersectNormal) const
{
    const float half = HeightValue * 0.5f;
    const TAnnulusShape shape{{-half, half, BottomRadiusValue, TopRadiusValue, false},
                              {-half, half, BottomInnerRadiusValue, TopInnerRadiusValue, true},
                              PartsValue.anOuterSides,
                              PartsValue.anInnerSides,
                              PartsValue.anBottom,
                              PartsValue.anTop};
    return RayCastInLocalCoordinates(*this, rayStart, rayVector, intersectPoint, intersectNormal,
                                     [&shape](const TShapeRay& ray) { return RayCastAnnulus(ray, shape); });
}

#include "view3d/objects/Annulus.h"

#include <algorithm>
#include <cmath>

#include "view3d/objects/ChangeProperty.h"
#include "view3d/objects/LocalRayCast.h"
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

void TGLAnnulus::SetBottomInnerRadius(float value) { ChangeProperty(*this, BottomInnerRadiusValue, value); }
void TGLAnnulus::SetTopInnerRadius(float value) { ChangeProperty(*this, TopInnerRadiusValue, value); }
void TGLAnnulus::SetTopRadius(float value) { ChangeProperty(*this, TopRadiusValue, value); }
void TGLAnnulus::SetParts(TAnnulusParts value) { ChangeProperty(*this, PartsValue, value); }

void TGLAnnulus::BuildList(TRenderContextInfo& /*rci*/)
{
    DrawStandingOnY(-HeightValue * 0.5f, [this](GLUquadric* quadric) {
        if (PartsValue.anOuterSides)
            GL().GluCylinder(quadric, BottomRadiusValue, TopRadiusValue, HeightValue, SlicesValue, StacksValue);
        if (PartsValue.anInnerSides) {
            // The inner wall faces the axis: the other way round from the object's normals.
            const bool outside = NormalDirection() == TNormalDirection::ndOutside;
            GL().GluQuadricOrientation(quadric, outside ? GLU_INSIDE : GLU_OUTSIDE);
            GL().GluCylinder(quadric, BottomInnerRadiusValue, TopInnerRadiusValue, HeightValue, SlicesValue,
                             StacksValue);
            GL().GluQuadricOrientation(quadric, outside ? GLU_OUTSIDE : GLU_INSIDE);
        }
        if (PartsValue.anTop)
            DrawRing(quadric, HeightValue, TopInnerRadiusValue, TopRadiusValue, false);
        if (PartsValue.anBottom)
            DrawRing(quadric, 0.0f, BottomInnerRadiusValue, BottomRadiusValue, true);
    });
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

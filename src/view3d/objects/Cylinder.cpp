#include "view3d/objects/Cylinder.h"

#include <algorithm>
#include <cmath>

#include "view3d/objects/ChangeProperty.h"
#include "view3d/objects/LocalRayCast.h"
#include "view3d/opengl/GLFunctions.h"

std::unique_ptr<TGLBaseSceneObject> TGLCylinder::CreateNew() const { return std::make_unique<TGLCylinder>(); }

void TGLCylinder::Assign(const TGLBaseSceneObject& source)
{
    if (const auto* other = dynamic_cast<const TGLCylinder*>(&source); other && other != this) {
        TopRadiusValue = other->TopRadiusValue;
        PartsValue = other->PartsValue;
        AlignmentValue = other->AlignmentValue;
        StructureChanged();
    }
    TGLCylinderBase::Assign(source);
}

void TGLCylinder::SetTopRadius(float value) { ChangeProperty(*this, TopRadiusValue, value); }
void TGLCylinder::SetParts(TCylinderParts value) { ChangeProperty(*this, PartsValue, value); }
void TGLCylinder::SetAlignment(TCylinderAlignment value) { ChangeProperty(*this, AlignmentValue, value); }

float TGLCylinder::BottomY() const
{
    switch (AlignmentValue) {
    case TCylinderAlignment::caTop:
        return -HeightValue;
    case TCylinderAlignment::caBottom:
        return 0.0f;
    case TCylinderAlignment::caCenter:
        break;
    }
    return -HeightValue * 0.5f;
}

void TGLCylinder::BuildList(TRenderContextInfo& /*rci*/)
{
    DrawStandingOnY(BottomY(), [this](GLUquadric* quadric) {
        if (PartsValue.cySides)
            GL().GluCylinder(quadric, BottomRadiusValue, TopRadiusValue, HeightValue, SlicesValue, StacksValue);
        if (PartsValue.cyTop)
            DrawRing(quadric, HeightValue, 0.0f, TopRadiusValue, false);
        if (PartsValue.cyBottom)
            DrawRing(quadric, 0.0f, 0.0f, BottomRadiusValue, true);
    });
}

Vector3f TGLCylinder::AxisAlignedDimensionsUnscaled() const
{
    const float radius = std::max(std::abs(BottomRadiusValue), std::abs(TopRadiusValue));
    return {radius, std::abs(HeightValue) * 0.5f, radius};
}

bool TGLCylinder::RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector, Vector4f* intersectPoint,
                                   Vector4f* intersectNormal) const
{
    const float bottom = BottomY();
    const TCylinderShape shape{{bottom, bottom + HeightValue, BottomRadiusValue, TopRadiusValue, false},
                               PartsValue.cySides,
                               PartsValue.cyBottom,
                               PartsValue.cyTop};
    return RayCastInLocalCoordinates(*this, rayStart, rayVector, intersectPoint, intersectNormal,
                                     [&shape](const TShapeRay& ray) { return RayCastCylinder(ray, shape); });
}

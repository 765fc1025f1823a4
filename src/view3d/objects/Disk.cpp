#include "view3d/objects/Disk.h"

#include <algorithm>
#include <cmath>

#include "view3d/objects/ChangeProperty.h"
#include "view3d/objects/LocalRayCast.h"
#include "view3d/objects/ScopedQuadric.h"
#include "view3d/opengl/GLFunctions.h"

std::unique_ptr<TGLBaseSceneObject> TGLDisk::CreateNew() const { return std::make_unique<TGLDisk>(); }

void TGLDisk::Assign(const TGLBaseSceneObject& source)
{
    if (const auto* other = dynamic_cast<const TGLDisk*>(&source); other && other != this) {
        InnerRadiusValue = other->InnerRadiusValue;
        OuterRadiusValue = other->OuterRadiusValue;
        SlicesValue = other->SlicesValue;
        LoopsValue = other->LoopsValue;
        StartAngleValue = other->StartAngleValue;
        SweepAngleValue = other->SweepAngleValue;
        StructureChanged();
    }
    TGLQuadricObject::Assign(source);
}

void TGLDisk::SetInnerRadius(float value) { ChangeProperty(*this, InnerRadiusValue, value); }
void TGLDisk::SetOuterRadius(float value) { ChangeProperty(*this, OuterRadiusValue, value); }
void TGLDisk::SetSlices(int value) { ChangeProperty(*this, SlicesValue, value); }
void TGLDisk::SetLoops(int value) { ChangeProperty(*this, LoopsValue, value); }
void TGLDisk::SetStartAngle(float value) { ChangeProperty(*this, StartAngleValue, value); }
void TGLDisk::SetSweepAngle(float value) { ChangeProperty(*this, SweepAngleValue, value); }

void TGLDisk::BuildList(TRenderContextInfo& /*rci*/)
{
    TScopedQuadric quadric;
    if (!quadric.Get())
        return;
    SetupQuadricParams(quadric.Get());
    GL().GluPartialDisk(quadric.Get(), InnerRadiusValue, OuterRadiusValue, SlicesValue, LoopsValue, StartAngleValue,
                        SweepAngleValue);
}

Vector3f TGLDisk::AxisAlignedDimensionsUnscaled() const
{
    const float radius = std::max(std::abs(InnerRadiusValue), std::abs(OuterRadiusValue));
    return {radius, radius, 0.0f};
}

bool TGLDisk::RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector, Vector4f* intersectPoint,
                               Vector4f* intersectNormal) const
{
    return RayCastInLocalCoordinates(*this, rayStart, rayVector, intersectPoint, intersectNormal,
                                     [this](const TShapeRay& ray) {
                                         return RayCastPartialDisk(ray, InnerRadiusValue, OuterRadiusValue,
                                                                   StartAngleValue, SweepAngleValue);
                                     });
}

#include "view3d/objects/Cone.h"

#include <cmath>

#include "view3d/objects/ChangeProperty.h"
#include "view3d/opengl/GLFunctions.h"

std::unique_ptr<TGLBaseSceneObject> TGLCone::CreateNew() const { return std::make_unique<TGLCone>(); }

void TGLCone::Assign(const TGLBaseSceneObject& source)
{
    if (const auto* other = dynamic_cast<const TGLCone*>(&source); other && other != this) {
        PartsValue = other->PartsValue;
        StructureChanged();
    }
    TGLCylinderBase::Assign(source);
}

void TGLCone::SetParts(TConeParts value) { ChangeProperty(*this, PartsValue, value); }

void TGLCone::BuildList(TRenderContextInfo& /*rci*/)
{
    DrawStandingOnY(-HeightValue * 0.5f, [this](GLUquadric* quadric) {
        if (PartsValue.coSides)
            GL().GluCylinder(quadric, BottomRadiusValue, 0.0, HeightValue, SlicesValue, StacksValue);
        if (PartsValue.coBottom)
            DrawRing(quadric, 0.0f, 0.0f, BottomRadiusValue, true);
    });
}

Vector3f TGLCone::AxisAlignedDimensionsUnscaled() const
{
    const float radius = std::abs(BottomRadiusValue);
    return {radius, std::abs(HeightValue) * 0.5f, radius};
}

#include "view3d/objects/Cone.h"

#include <cmath>

#include "view3d/objects/ScopedQuadric.h"
#include "view3d/objects/ShapeProperty.h"
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

void TGLCone::SetParts(TConeParts value) { SetShapeProperty(*this, PartsValue, value); }

void TGLCone::BuildList(TRenderContextInfo& /*rci*/)
{
    TScopedQuadric quadric;
    if (!quadric.Get())
        return;
    SetupQuadricParams(quadric.Get());
    GL().PushMatrix();
    // GLU builds along +Z; the cone stands on +Y.
    GL().Rotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    GL().Translatef(0.0f, 0.0f, -HeightValue * 0.5f);
    if (PartsValue.coSides)
        GL().GluCylinder(quadric.Get(), BottomRadiusValue, 0.0, HeightValue, SlicesValue, StacksValue);
    if (PartsValue.coBottom) {
        GL().Rotatef(180.0f, 1.0f, 0.0f, 0.0f);
        GL().GluDisk(quadric.Get(), 0.0, BottomRadiusValue, SlicesValue, LoopsValue);
    }
    GL().PopMatrix();
}

Vector3f TGLCone::AxisAlignedDimensionsUnscaled() const
{
    const float radius = std::abs(BottomRadiusValue);
    return {radius, std::abs(HeightValue) * 0.5f, radius};
}

#include "view3d/objects/Torus.h"

#include <cmath>

#include "view3d/objects/ChangeProperty.h"
#include "view3d/objects/LocalRayCast.h"
#include "view3d/objects/ShapeMeshes.h"
#include "view3d/objects/ShapeRayCasts.h"
#include "view3d/opengl/GLFunctions.h"

std::unique_ptr<TGLBaseSceneObject> TGLTorus::CreateNew() const { return std::make_unique<TGLTorus>(); }

void TGLTorus::Assign(const TGLBaseSceneObject& source)
{
    if (const auto* other = dynamic_cast<const TGLTorus*>(&source); other && other != this) {
        MajorRadiusValue = other->MajorRadiusValue;
        MinorRadiusValue = other->MinorRadiusValue;
        RingsValue = other->RingsValue;
        SidesValue = other->SidesValue;
        StructureChanged();
    }
    TGLCustomSceneObject::Assign(source);
}

void TGLTorus::SetMajorRadius(float value) { ChangeProperty(*this, MajorRadiusValue, value); }
void TGLTorus::SetMinorRadius(float value) { ChangeProperty(*this, MinorRadiusValue, value); }
void TGLTorus::SetRings(int value) { ChangeProperty(*this, RingsValue, value); }
void TGLTorus::SetSides(int value) { ChangeProperty(*this, SidesValue, value); }

void TGLTorus::BuildList(TRenderContextInfo& /*rci*/)
{
    for (const std::vector<TMeshVertex>& strip : TorusQuadStrips(MajorRadiusValue, MinorRadiusValue, RingsValue,
                                                                 SidesValue)) {
        GL().Begin(GL_QUAD_STRIP);
        for (const TMeshVertex& vertex : strip) {
            GL().Normal3fv(&vertex.Normal.X);
            GL().TexCoord2f(vertex.S, vertex.T);
            GL().Vertex3fv(&vertex.Position.X);
        }
        GL().End();
    }
}

Vector3f TGLTorus::AxisAlignedDimensionsUnscaled() const
{
    const float outer = std::abs(MajorRadiusValue) + std::abs(MinorRadiusValue);
    return {outer, outer, std::abs(MinorRadiusValue)};
}

bool TGLTorus::RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector, Vector4f* intersectPoint,
                                Vector4f* intersectNormal) const
{
    return RayCastInLocalCoordinates(*this, rayStart, rayVector, intersectPoint, intersectNormal,
                                     [this](const TShapeRay& ray) {
                                         return RayCastTorus(ray, MajorRadiusValue, MinorRadiusValue);
                                     });
}

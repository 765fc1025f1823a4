#include "view3d/objects/LocalRayCast.h"

#include "view3d/maths/MatrixGeometry.h"
#include "view3d/maths/VectorGeometry.h"
#include "view3d/scene/BaseSceneObject.h"

bool RayCastInLocalCoordinates(const TGLBaseSceneObject& object, const Vector4f& rayStart, const Vector4f& rayVector,
                               Vector4f* intersectPoint, Vector4f* intersectNormal,
                               const std::function<std::optional<TShapeHit>(const TShapeRay&)>& cast)
{
    const Matrix4f& toLocal = object.InvAbsoluteMatrix();
    const Vector4f start = VectorTransform(PointMake(AffineOf(rayStart)), toLocal);
    const Vector4f direction = VectorTransform(DirectionMake(AffineOf(rayVector)), toLocal);
    const std::optional<TShapeHit> hit = cast({AffineOf(start), AffineOf(direction)});
    if (!hit)
        return false;
    if (intersectPoint)
        *intersectPoint = VectorTransform(PointMake(hit->Point), object.AbsoluteMatrix());
    if (intersectNormal) {
        // Normals go through the transposed inverse, which keeps them at
        // right angles to a surface that is scaled unevenly.
        const Vector3f& n = hit->Normal;
        const Vector3f turned{n.X * toLocal.M[0][0] + n.Y * toLocal.M[0][1] + n.Z * toLocal.M[0][2],
                              n.X * toLocal.M[1][0] + n.Y * toLocal.M[1][1] + n.Z * toLocal.M[1][2],
                              n.X * toLocal.M[2][0] + n.Y * toLocal.M[2][1] + n.Z * toLocal.M[2][2]};
        *intersectNormal = DirectionMake(Vector3Normalize(turned));
    }
    return true;
}

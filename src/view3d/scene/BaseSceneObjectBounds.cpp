// What space a scene object takes: its box, its bounding sphere, whether a
// point lies inside, where a ray meets it, and its outline seen from a point.

#include <cmath>

#include "view3d/maths/MatrixGeometry.h"
#include "view3d/maths/PlaneGeometry.h"
#include "view3d/maths/ScalarMaths.h"
#include "view3d/maths/VectorGeometry.h"
#include "view3d/scene/BaseSceneObject.h"

Vector3f TGLBaseSceneObject::AxisAlignedDimensions() const
{
    const Vector3f unscaled = AxisAlignedDimensionsUnscaled();
    const Vector4f& scale = ScaleCoordinates->AsVector();
    return {unscaled.X * scale.X, unscaled.Y * scale.Y, unscaled.Z * scale.Z};
}

Vector3f TGLBaseSceneObject::AxisAlignedDimensionsUnscaled() const
{
    return {0.5f, 0.5f, 0.5f};
}

TAABB TGLBaseSceneObject::AxisAlignedBoundingBoxUnscaled() const
{
    TAABB box;
    SetBB(box, AxisAlignedDimensionsUnscaled());
    for (const auto& child : ChildList) {
        TAABB childBox = child->AxisAlignedBoundingBoxUnscaled();
        BBTransform(childBox, child->LocalMatrix());
        AddBB(box, childBox);
    }
    return box;
}

TAABB TGLBaseSceneObject::AxisAlignedBoundingBox() const
{
    TAABB box = AxisAlignedBoundingBoxUnscaled();
    ScaleBB(box, ScaleCoordinates->ToAffineVector());
    return box;
}

float TGLBaseSceneObject::BoundingSphereRadius() const
{
    return Vector3Length(AxisAlignedDimensions());
}

bool TGLBaseSceneObject::PointInObject(const Vector3f& point) const
{
    const Vector4f local = AbsoluteToLocal(PointMake(point));
    const Vector3f half = AxisAlignedDimensionsUnscaled();
    return std::fabs(local.X) <= half.X && std::fabs(local.Y) <= half.Y && std::fabs(local.Z) <= half.Z;
}

bool TGLBaseSceneObject::RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector,
                                          Vector4f* intersectPoint, Vector4f* intersectNormal) const
{
    const Vector3f direction = AffineOf(rayVector);
    if (Vector3IsNull(direction))
        return false;
    const Vector3f centre = AffineOf(AbsolutePosition());
    const TRaySphereHits hits =
        RayCastSphereIntersect(AffineOf(rayStart), Vector3Normalize(direction), centre, BoundingSphereRadius());
    if (hits.Count == 0)
        return false;
    if (intersectPoint)
        *intersectPoint = PointMake(hits.First);
    if (intersectNormal) {
        const Vector3f outward = Vector3Subtract(hits.First, centre);
        *intersectNormal = Vector3IsNull(outward) ? Vector4f{} : DirectionMake(Vector3Normalize(outward));
    }
    return true;
}

void TGLBaseSceneObject::GenerateSilhouette(const TGLSilhouetteParameters& parameters, TGLSilhouette& silhouette) const
{
    silhouette.Flush();
    // The outline of the bounding sphere, a little inside it so that it
    // does not stand out of the object it stands for.
    constexpr int kSegments = 21;
    const float radius = Vector3Length(AxisAlignedDimensionsUnscaled());
    const Vector3f seenFrom = parameters.SeenFrom;
    const float distance = Vector3Length(seenFrom);
    float visibleRadius = radius;
    // From inside the sphere the whole of it is seen.
    if (parameters.Style == TSilhouetteStyle::Omnidirectional && distance > radius)
        visibleRadius = SphereVisibleRadius(distance, radius);
    visibleRadius *= 0.98f;
    Vector3f s = Vector3Cross(seenFrom, {1, 0, 0});
    if (Vector3Length(s) < 1e-3f)
        s = Vector3Cross(seenFrom, {0, 1, 0});
    Vector3f t = Vector3Cross(seenFrom, s);
    if (Vector3IsNull(s) || Vector3IsNull(t))
        return;
    s = Vector3Normalize(s);
    t = Vector3Normalize(t);
    const float step = 2.0f * 3.14159265f / kSegments;
    for (int i = 0; i < kSegments; ++i) {
        float sine = 0.0f;
        float cosine = 0.0f;
        SinCos(float(i) * step, sine, cosine);
        silhouette.Vertices.AddPoint(Vector3Combine2(s, t, sine * visibleRadius, cosine * visibleRadius));
        const int next = (i + 1) % kSegments;
        silhouette.Indices.Add(i, next);
        if (parameters.CappingRequired)
            silhouette.CapIndices.Add(kSegments, i, next);
    }
    if (parameters.CappingRequired)
        silhouette.Vertices.AddPoint(0, 0, 0);
}

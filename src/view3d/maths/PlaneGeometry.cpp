#include "view3d/maths/PlaneGeometry.h"

#include <cmath>

#include "view3d/maths/VectorGeometry.h"

namespace {

Vector4f MatrixColumn(const Matrix4f& m, int c)
{
    return {m.M[0][c], m.M[1][c], m.M[2][c], m.M[3][c]};
}

} // namespace

Vector3f CalcPlaneNormal(const Vector3f& p1, const Vector3f& p2, const Vector3f& p3)
{
    return Vector3Normalize(Vector3Cross(Vector3Subtract(p2, p1), Vector3Subtract(p3, p1)));
}

Vector4f CalcPlaneNormal(const Vector4f& p1, const Vector4f& p2, const Vector4f& p3)
{
    return DirectionMake(CalcPlaneNormal(AffineOf(p1), AffineOf(p2), AffineOf(p3)));
}

Vector4f NormalizePlane(const Vector4f& plane)
{
    const double length = std::sqrt(static_cast<double>(plane.X) * plane.X +
                                    static_cast<double>(plane.Y) * plane.Y + static_cast<double>(plane.Z) * plane.Z);
    const double inverse = 1.0 / length;
    return {static_cast<float>(plane.X * inverse), static_cast<float>(plane.Y * inverse),
            static_cast<float>(plane.Z * inverse), static_cast<float>(plane.W * inverse)};
}

float PlaneEvaluatePoint(const Vector4f& plane, const Vector3f& point)
{
    return static_cast<float>(static_cast<double>(plane.X) * point.X + static_cast<double>(plane.Y) * point.Y +
                              static_cast<double>(plane.Z) * point.Z + plane.W);
}

bool RayCastPlaneIntersect(const Vector3f& rayDirection, const Vector3f& planeNormal)
{
    return std::fabs(static_cast<double>(Vector3Dot(rayDirection, planeNormal))) > RayParallelEpsilon;
}

bool RayCastPlaneIntersect(const Vector3f& rayStart, const Vector3f& rayDirection, const Vector3f& planePoint,
                           const Vector3f& planeNormal, Vector3f& hit)
{
    const double d = Vector3Dot(rayDirection, planeNormal);
    if (std::fabs(d) <= RayParallelEpsilon)
        return false;
    const double t = Vector3Dot(Vector3Subtract(planePoint, rayStart), planeNormal) / d;
    if (t <= 0.0)
        return false;
    hit = Vector3Combine(rayStart, rayDirection, static_cast<float>(t));
    return true;
}

TRaySphereHits RayCastSphereIntersect(const Vector3f& rayStart, const Vector3f& rayDirection, const Vector3f& centre,
                                      float radius)
{
    TRaySphereHits hits;
    const double p = Vector3Dot(Vector3Subtract(centre, rayStart), rayDirection);
    const Vector3f closest = Vector3Combine(rayStart, rayDirection, static_cast<float>(p));
    const double q = static_cast<double>(radius) * radius - Vector3SquaredDistance(centre, closest);
    if (q < 0.0)
        return hits;
    if (q == 0.0) {
        if (p > 0.0) {
            hits.Count = 1;
            hits.First = closest;
        }
        return hits;
    }
    const double s = std::sqrt(q);
    if (p >= s) {
        hits.Count = 2;
        hits.First = Vector3Combine(rayStart, rayDirection, static_cast<float>(p - s));
        hits.Second = Vector3Combine(rayStart, rayDirection, static_cast<float>(p + s));
    } else if (p + s >= 0.0) {
        hits.Count = 1;
        hits.First = Vector3Combine(rayStart, rayDirection, static_cast<float>(p + s));
    }
    return hits;
}

float SphereVisibleRadius(float distance, float radius)
{
    const double d2 = static_cast<double>(distance) * distance;
    const double r2 = static_cast<double>(radius) * radius;
    const double i = std::sqrt(d2 - r2);
    const double t = (d2 + r2 - i * i) / (2.0 * i);
    return static_cast<float>(std::sqrt(r2 + t * t));
}

Frustum6 ExtractFrustumFromModelViewProjection(const Matrix4f& m)
{
    const Vector4f c0 = MatrixColumn(m, 0);
    const Vector4f c1 = MatrixColumn(m, 1);
    const Vector4f c2 = MatrixColumn(m, 2);
    const Vector4f c3 = MatrixColumn(m, 3);
    Frustum6 frustum;
    frustum.Left = NormalizePlane(Vector4Add(c3, c0));
    frustum.Top = NormalizePlane(Vector4Subtract(c3, c1));
    frustum.Right = NormalizePlane(Vector4Subtract(c3, c0));
    frustum.Bottom = NormalizePlane(Vector4Add(c3, c1));
    frustum.Near = NormalizePlane(Vector4Add(c3, c2));
    frustum.Far = NormalizePlane(Vector4Subtract(c3, c2));
    return frustum;
}

bool IsVolumeClipped(const Vector3f& centre, float radius, const Frustum6& frustum)
{
    const float negativeRadius = -radius;
    for (const Vector4f* plane :
         {&frustum.Left, &frustum.Top, &frustum.Right, &frustum.Bottom, &frustum.Near, &frustum.Far})
        if (PlaneEvaluatePoint(*plane, centre) < negativeRadius)
            return true;
    return false;
}

bool IsBoxClipped(const Vector3f& minimum, const Vector3f& maximum, const Frustum6& frustum)
{
    const Vector3f centre = Vector3Scale(Vector3Add(minimum, maximum), 0.5f);
    return IsVolumeClipped(centre, Vector3Distance(maximum, minimum) * 0.5f, frustum);
}

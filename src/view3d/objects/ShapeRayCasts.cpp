#include "view3d/objects/ShapeRayCasts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "view3d/maths/Polynomials.h"

namespace {

struct Point3d {
    double X;
    double Y;
    double Z;
};

Point3d PointAt(const TShapeRay& ray, double t)
{
    return {ray.Start.X + t * ray.Direction.X, ray.Start.Y + t * ray.Direction.Y,
            ray.Start.Z + t * ray.Direction.Z};
}

Vector3f ToSingle(const Point3d& p)
{
    return {static_cast<float>(p.X), static_cast<float>(p.Y), static_cast<float>(p.Z)};
}

Vector3f UnitSingle(double x, double y, double z)
{
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0)
        return {};
    return {static_cast<float>(x / length), static_cast<float>(y / length), static_cast<float>(z / length)};
}

// Where the ray meets the plane on which one coordinate equals level: none
// when the ray runs parallel to it or the plane lies behind the start.
std::optional<double> PlaneParameter(double start, double direction, double level)
{
    if (std::abs(direction) < RayParallelEpsilon)
        return std::nullopt;
    const double t = (level - start) / direction;
    if (t < 0.0)
        return std::nullopt;
    return t;
}

bool WithinRadii(double squaredDistance, float innerRadius, float outerRadius)
{
    const double low = std::min(innerRadius, outerRadius);
    const double high = std::max(innerRadius, outerRadius);
    return squaredDistance >= low * low && squaredDistance <= high * high;
}

// Whether an angle (degrees) lies on the sweep from start; GLU draws a
// negative sweep the other way round.
bool WithinSweep(double angle, double startAngle, double sweepAngle)
{
    if (std::abs(sweepAngle) >= 360.0)
        return true;
    if (sweepAngle == 0.0)
        return false;
    if (sweepAngle < 0.0) {
        startAngle += sweepAngle;
        sweepAngle = -sweepAngle;
    }
    double offset = std::fmod(angle - startAngle, 360.0);
    if (offset < 0.0)
        offset += 360.0;
    return offset <= sweepAngle;
}

} // namespace

std::optional<TShapeHit> NearerHit(const std::optional<TShapeHit>& a, const std::optional<TShapeHit>& b)
{
    if (!a)
        return b;
    if (!b)
        return a;
    return b->Parameter < a->Parameter ? b : a;
}

std::optional<TShapeHit> RayCastPartialDisk(const TShapeRay& ray, float innerRadius, float outerRadius,
                                            float startAngle, float sweepAngle)
{
    const std::optional<double> t = PlaneParameter(ray.Start.Z, ray.Direction.Z, 0.0);
    if (!t)
        return std::nullopt;
    Point3d p = PointAt(ray, *t);
    p.Z = 0.0;
    if (!WithinRadii(p.X * p.X + p.Y * p.Y, innerRadius, outerRadius))
        return std::nullopt;
    const double angle = std::atan2(p.X, p.Y) * 180.0 / std::numbers::pi;
    if (!WithinSweep(angle, startAngle, sweepAngle))
        return std::nullopt;
    return TShapeHit{*t, ToSingle(p), {0.0f, 0.0f, 1.0f}};
}

std::optional<TShapeHit> RayCastRing(const TShapeRay& ray, float y, float innerRadius, float outerRadius,
                                     float normalY)
{
    const std::optional<double> t = PlaneParameter(ray.Start.Y, ray.Direction.Y, y);
    if (!t)
        return std::nullopt;
    Point3d p = PointAt(ray, *t);
    p.Y = y;
    if (!WithinRadii(p.X * p.X + p.Z * p.Z, innerRadius, outerRadius))
        return std::nullopt;
    return TShapeHit{*t, ToSingle(p), {0.0f, normalY, 0.0f}};
}

std::optional<TShapeHit> RayCastConeSide(const TShapeRay& ray, const TConeSide& side)
{
    const double height = static_cast<double>(side.TopY) - side.BottomY;
    if (!(height > 0.0))
        return std::nullopt;
    // radius(y) = r0 + k y; the surface is x^2 + z^2 = radius(y)^2.
    const double k = (static_cast<double>(side.TopRadius) - side.BottomRadius) / height;
    const double r0 = side.BottomRadius - k * side.BottomY;
    const Vector3f& s = ray.Start;
    const Vector3f& d = ray.Direction;
    const double radiusAtStart = r0 + k * s.Y;
    const double coefficients[3] = {
        double(s.X) * s.X + double(s.Z) * s.Z - radiusAtStart * radiusAtStart,
        2.0 * (double(s.X) * d.X + double(s.Z) * d.Z - k * radiusAtStart * d.Y),
        double(d.X) * d.X + double(d.Z) * d.Z - k * k * d.Y * d.Y};
    std::optional<TShapeHit> nearest;
    for (double t : SolveQuadric(coefficients)) {
        if (t < 0.0 || (nearest && t >= nearest->Parameter))
            continue;
        const Point3d p = PointAt(ray, t);
        if (p.Y < side.BottomY || p.Y > side.TopY)
            continue;
        const double radius = r0 + k * p.Y;
        // The gradient of x^2 + z^2 - radius(y)^2, halved.
        const double sign = side.FacesAxis ? -1.0 : 1.0;
        nearest = TShapeHit{t, ToSingle(p), UnitSingle(sign * p.X, -sign * k * radius, sign * p.Z)};
    }
    return nearest;
}

std::optional<TShapeHit> RayCastTorus(const TShapeRay& ray, float majorRadius, float minorRadius)
{
    const double length = std::sqrt(double(ray.Direction.X) * ray.Direction.X +
                                    double(ray.Direction.Y) * ray.Direction.Y +
                                    double(ray.Direction.Z) * ray.Direction.Z);
    if (length == 0.0)
        return std::nullopt;
    // Solved along the unit direction, so that the quartic's coefficients
    // keep comparable sizes; s is then the distance from the start.
    const Point3d u{ray.Direction.X / length, ray.Direction.Y / length, ray.Direction.Z / length};
    const Point3d p{ray.Start.X, ray.Start.Y, ray.Start.Z};
    const double R2 = double(majorRadius) * majorRadius;
    const double e = p.X * p.X + p.Y * p.Y + p.Z * p.Z + R2 - double(minorRadius) * minorRadius;
    const double f = p.X * u.X + p.Y * u.Y + p.Z * u.Z;
    // (s^2 + 2 f s + e)^2 = 4 R^2 ((px + s ux)^2 + (py + s uy)^2)
    const double coefficients[5] = {e * e - 4.0 * R2 * (p.X * p.X + p.Y * p.Y),
                                    4.0 * e * f - 8.0 * R2 * (p.X * u.X + p.Y * u.Y),
                                    4.0 * f * f + 2.0 * e - 4.0 * R2 * (u.X * u.X + u.Y * u.Y), 4.0 * f, 1.0};
    double distance = 0.0;
    if (!MinPositiveCoef(SolveQuartic(coefficients), distance))
        return std::nullopt;
    const double t = distance / length;
    const Point3d hit = PointAt(ray, t);
    // Away from the nearest point of the tube's centre circle.
    const double planar = std::sqrt(hit.X * hit.X + hit.Y * hit.Y);
    const double cx = planar > 0.0 ? majorRadius * hit.X / planar : 0.0;
    const double cy = planar > 0.0 ? majorRadius * hit.Y / planar : 0.0;
    return TShapeHit{t, ToSingle(hit), UnitSingle(hit.X - cx, hit.Y - cy, hit.Z)};
}

std::optional<TShapeHit> RayCastCylinder(const TShapeRay& ray, const TCylinderShape& shape)
{
    std::optional<TShapeHit> hit;
    if (shape.HasSide)
        hit = RayCastConeSide(ray, shape.Side);
    if (shape.HasBottom)
        hit = NearerHit(hit, RayCastRing(ray, shape.Side.BottomY, 0.0f, shape.Side.BottomRadius, -1.0f));
    if (shape.HasTop)
        hit = NearerHit(hit, RayCastRing(ray, shape.Side.TopY, 0.0f, shape.Side.TopRadius, 1.0f));
    return hit;
}

std::optional<TShapeHit> RayCastAnnulus(const TShapeRay& ray, const TAnnulusShape& shape)
{
    std::optional<TShapeHit> hit;
    if (shape.HasOuter)
        hit = RayCastConeSide(ray, shape.Outer);
    if (shape.HasInner)
        hit = NearerHit(hit, RayCastConeSide(ray, shape.Inner));
    if (shape.HasBottom)
        hit = NearerHit(hit, RayCastRing(ray, shape.Outer.BottomY, shape.Inner.BottomRadius,
                                         shape.Outer.BottomRadius, -1.0f));
    if (shape.HasTop)
        hit = NearerHit(hit,
                        RayCastRing(ray, shape.Outer.TopY, shape.Inner.TopRadius, shape.Outer.TopRadius, 1.0f));
    return hit;
}

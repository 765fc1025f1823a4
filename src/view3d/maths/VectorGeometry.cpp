#include "view3d/maths/VectorGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

float Single(double value)
{
    return static_cast<float>(value);
}

double Wide(float value)
{
    return static_cast<double>(value);
}

} // namespace

Vector3f AffineVectorMake(float x, float y, float z)
{
    return {x, y, z};
}

Vector4f VectorMake(float x, float y, float z, float w)
{
    return {x, y, z, w};
}

Vector4f PointMake(float x, float y, float z)
{
    return {x, y, z, 1.0f};
}

Vector4f PointMake(const Vector3f& v)
{
    return {v.X, v.Y, v.Z, 1.0f};
}

Vector4f DirectionMake(float x, float y, float z)
{
    return {x, y, z, 0.0f};
}

Vector4f DirectionMake(const Vector3f& v)
{
    return {v.X, v.Y, v.Z, 0.0f};
}

Vector4f VectorMake(const Vector3f& v, float w)
{
    return {v.X, v.Y, v.Z, w};
}

Vector3f AffineOf(const Vector4f& v)
{
    return {v.X, v.Y, v.Z};
}

Vector4f Vector4Add(const Vector4f& a, const Vector4f& b)
{
    return {a.X + b.X, a.Y + b.Y, a.Z + b.Z, a.W + b.W};
}

Vector4f Vector4Subtract(const Vector4f& a, const Vector4f& b)
{
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z, a.W - b.W};
}

void Vector3AddInto(const Vector3f& a, const Vector3f& b, Vector3f& out)
{
    out = Vector3Add(a, b);
}

void Vector3SubtractInto(const Vector3f& a, const Vector3f& b, Vector3f& out)
{
    out = Vector3Subtract(a, b);
}

void Vector4AddInto(const Vector4f& a, const Vector4f& b, Vector4f& out)
{
    out = Vector4Add(a, b);
}

void Vector4SubtractInto(const Vector4f& a, const Vector4f& b, Vector4f& out)
{
    out = Vector4Subtract(a, b);
}

void AddToEach(std::span<Vector3f> items, const Vector3f& delta)
{
    for (Vector3f& item : items)
        item = Vector3Add(item, delta);
}

void AddToEach(std::span<Vector4f> items, const Vector4f& delta)
{
    for (Vector4f& item : items)
        item = Vector4Add(item, delta);
}

Vector3f Vector3Combine(const Vector3f& a, const Vector3f& b, float f)
{
    return Vector3Combine2(a, b, 1.0f, f);
}

Vector4f Vector4Combine(const Vector4f& a, const Vector4f& b, float f)
{
    return Vector4Combine2(a, b, 1.0f, f);
}

Vector3f Vector3Combine2(const Vector3f& a, const Vector3f& b, float f1, float f2)
{
    const double p = f1;
    const double q = f2;
    return {Single(p * a.X + q * b.X), Single(p * a.Y + q * b.Y), Single(p * a.Z + q * b.Z)};
}

Vector4f Vector4Combine2(const Vector4f& a, const Vector4f& b, float f1, float f2)
{
    const double p = f1;
    const double q = f2;
    return {Single(p * a.X + q * b.X), Single(p * a.Y + q * b.Y), Single(p * a.Z + q * b.Z),
            Single(p * a.W + q * b.W)};
}

void CombineEach(std::span<Vector3f> items, std::span<const Vector3f> others, float f)
{
    const std::size_t n = std::min(items.size(), others.size());
    for (std::size_t i = 0; i < n; ++i)
        items[i] = Vector3Combine(items[i], others[i], f);
}

void CombineEach(std::span<Vector4f> items, std::span<const Vector4f> others, float f)
{
    const std::size_t n = std::min(items.size(), others.size());
    for (std::size_t i = 0; i < n; ++i)
        items[i] = Vector4Combine(items[i], others[i], f);
}

float Vector3Dot(const Vector3f& a, const Vector3f& b)
{
    return Single(Wide(a.X) * b.X + Wide(a.Y) * b.Y + Wide(a.Z) * b.Z);
}

float Vector4Dot3(const Vector4f& a, const Vector4f& b)
{
    return Vector3Dot(AffineOf(a), AffineOf(b));
}

Vector3f Vector3Cross(const Vector3f& a, const Vector3f& b)
{
    return {Single(Wide(a.Y) * b.Z - Wide(a.Z) * b.Y), Single(Wide(a.Z) * b.X - Wide(a.X) * b.Z),
            Single(Wide(a.X) * b.Y - Wide(a.Y) * b.X)};
}

Vector4f Vector4Cross(const Vector4f& a, const Vector4f& b)
{
    return DirectionMake(Vector3Cross(AffineOf(a), AffineOf(b)));
}

Vector3f Vector3Lerp(const Vector3f& a, const Vector3f& b, float t)
{
    const double s = t;
    return {Single(a.X + s * (Wide(b.X) - a.X)), Single(a.Y + s * (Wide(b.Y) - a.Y)),
            Single(a.Z + s * (Wide(b.Z) - a.Z))};
}

Vector4f Vector4Lerp(const Vector4f& a, const Vector4f& b, float t)
{
    const Vector3f xyz = Vector3Lerp(AffineOf(a), AffineOf(b), t);
    const double s = t;
    return VectorMake(xyz, Single(a.W + s * (Wide(b.W) - a.W)));
}

void LerpEach(std::span<const Vector3f> a, std::span<const Vector3f> b, float t, std::span<Vector3f> out)
{
    const std::size_t n = std::min({a.size(), b.size(), out.size()});
    for (std::size_t i = 0; i < n; ++i)
        out[i] = Vector3Lerp(a[i], b[i], t);
}

void LerpEach(std::span<const Vector4f> a, std::span<const Vector4f> b, float t, std::span<Vector4f> out)
{
    const std::size_t n = std::min({a.size(), b.size(), out.size()});
    for (std::size_t i = 0; i < n; ++i)
        out[i] = Vector4Lerp(a[i], b[i], t);
}

float Vector3Norm(const Vector3f& v)
{
    return Vector3Dot(v, v);
}

float Vector4Length3(const Vector4f& v)
{
    return Vector3Length(AffineOf(v));
}

Vector3f Vector3Normalize(const Vector3f& v)
{
    const double inverse = 1.0 / std::sqrt(Wide(v.X) * v.X + Wide(v.Y) * v.Y + Wide(v.Z) * v.Z);
    return {Single(v.X * inverse), Single(v.Y * inverse), Single(v.Z * inverse)};
}

void Vector3NormalizeInPlace(Vector3f& v)
{
    v = Vector3Normalize(v);
}

Vector4f Vector4Normalize(const Vector4f& v)
{
    return VectorMake(Vector3Normalize(AffineOf(v)), v.W);
}

void NormalizeEach(std::span<Vector3f> items)
{
    for (Vector3f& item : items)
        item = Vector3Normalize(item);
}

Vector3f Vector3Negate(const Vector3f& v)
{
    return {-v.X, -v.Y, -v.Z};
}

Vector4f Vector4Negate(const Vector4f& v)
{
    return {-v.X, -v.Y, -v.Z, -v.W};
}

Vector4f Vector4Scale(const Vector4f& v, float factor)
{
    return {v.X * factor, v.Y * factor, v.Z * factor, v.W * factor};
}

void Vector3ScaleInPlace(Vector3f& v, float factor)
{
    v = Vector3Scale(v, factor);
}

void Vector4ScaleInPlace(Vector4f& v, float factor)
{
    v = Vector4Scale(v, factor);
}

bool Vector3Equals(const Vector3f& a, const Vector3f& b)
{
    return std::memcmp(&a, &b, sizeof(Vector3f)) == 0;
}

bool Vector4Equals(const Vector4f& a, const Vector4f& b)
{
    return std::memcmp(&a, &b, sizeof(Vector4f)) == 0;
}

bool Vector3IsNull(const Vector3f& v)
{
    return v.X == 0.0f && v.Y == 0.0f && v.Z == 0.0f;
}

float Vector3Spacing(const Vector3f& a, const Vector3f& b)
{
    return Single(std::fabs(Wide(a.X) - b.X) + std::fabs(Wide(a.Y) - b.Y) + std::fabs(Wide(a.Z) - b.Z));
}

float Vector3SquaredDistance(const Vector3f& a, const Vector3f& b)
{
    const double dx = Wide(a.X) - b.X;
    const double dy = Wide(a.Y) - b.Y;
    const double dz = Wide(a.Z) - b.Z;
    return Single(dx * dx + dy * dy + dz * dz);
}

Vector3f Vector3RemoveAlong(const Vector3f& v, const Vector3f& n)
{
    return Vector3Combine(v, n, -Vector3Dot(v, n));
}

Vector4f Vector4Abs(const Vector4f& v)
{
    return {std::fabs(v.X), std::fabs(v.Y), std::fabs(v.Z), std::fabs(v.W)};
}

Vector4f Vector4Max(const Vector4f& a, const Vector4f& b)
{
    return {std::max(a.X, b.X), std::max(a.Y, b.Y), std::max(a.Z, b.Z), std::max(a.W, b.W)};
}

#pragma once

// Vector routines of the 3D scene. The 3-component add, subtract, scale,
// length and distance are the shared ones of cad/geometry/VectorMath3.h.
// Forms named "...Into" write their last argument and stay correct when it
// is also an input.

#include <span>

#include "view3d/maths/VectorTypes.h"

// Makers and copies.
Vector3f AffineVectorMake(float x, float y, float z);
Vector4f VectorMake(float x, float y, float z, float w);
Vector4f PointMake(float x, float y, float z);
Vector4f PointMake(const Vector3f& v);
Vector4f DirectionMake(float x, float y, float z);
Vector4f DirectionMake(const Vector3f& v);
Vector4f VectorMake(const Vector3f& v, float w);
Vector3f AffineOf(const Vector4f& v);

// Add, subtract.
Vector4f Vector4Add(const Vector4f& a, const Vector4f& b);
Vector4f Vector4Subtract(const Vector4f& a, const Vector4f& b);
void Vector3AddInto(const Vector3f& a, const Vector3f& b, Vector3f& out);
void Vector3SubtractInto(const Vector3f& a, const Vector3f& b, Vector3f& out);
void Vector4AddInto(const Vector4f& a, const Vector4f& b, Vector4f& out);
void Vector4SubtractInto(const Vector4f& a, const Vector4f& b, Vector4f& out);
void AddToEach(std::span<Vector3f> items, const Vector3f& delta);
void AddToEach(std::span<Vector4f> items, const Vector4f& delta);

// a + f*b and f1*a + f2*b.
Vector3f Vector3Combine(const Vector3f& a, const Vector3f& b, float f);
Vector4f Vector4Combine(const Vector4f& a, const Vector4f& b, float f);
Vector3f Vector3Combine2(const Vector3f& a, const Vector3f& b, float f1, float f2);
Vector4f Vector4Combine2(const Vector4f& a, const Vector4f& b, float f1, float f2);
// items[i] := items[i] + f*others[i], over the shorter of the two.
void CombineEach(std::span<Vector3f> items, std::span<const Vector3f> others, float f);
void CombineEach(std::span<Vector4f> items, std::span<const Vector4f> others, float f);

// Dot and cross; the 4 forms use X, Y, Z and give W = 0.
float Vector3Dot(const Vector3f& a, const Vector3f& b);
float Vector4Dot3(const Vector4f& a, const Vector4f& b);
Vector3f Vector3Cross(const Vector3f& a, const Vector3f& b);
Vector4f Vector4Cross(const Vector4f& a, const Vector4f& b);

// a + t*(b - a).
Vector3f Vector3Lerp(const Vector3f& a, const Vector3f& b, float t);
Vector4f Vector4Lerp(const Vector4f& a, const Vector4f& b, float t);
void LerpEach(std::span<const Vector3f> a, std::span<const Vector3f> b, float t, std::span<Vector3f> out);
void LerpEach(std::span<const Vector4f> a, std::span<const Vector4f> b, float t, std::span<Vector4f> out);

// x*x + y*y + z*z.
float Vector3Norm(const Vector3f& v);
float Vector4Length3(const Vector4f& v);

// No guard against a zero length: callers make sure the vector has one.
Vector3f Vector3Normalize(const Vector3f& v);
void Vector3NormalizeInPlace(Vector3f& v);
// Scales X, Y and Z to unit length and leaves W.
Vector4f Vector4Normalize(const Vector4f& v);
void NormalizeEach(std::span<Vector3f> items);

Vector3f Vector3Negate(const Vector3f& v);
Vector4f Vector4Negate(const Vector4f& v);
Vector4f Vector4Scale(const Vector4f& v, float factor);
void Vector3ScaleInPlace(Vector3f& v, float factor);
void Vector4ScaleInPlace(Vector4f& v, float factor);

// Exact: the components are compared as bit patterns.
bool Vector3Equals(const Vector3f& a, const Vector3f& b);
bool Vector4Equals(const Vector4f& a, const Vector4f& b);
bool Vector3IsNull(const Vector3f& v);
// |dx| + |dy| + |dz|.
float Vector3Spacing(const Vector3f& a, const Vector3f& b);
float Vector3SquaredDistance(const Vector3f& a, const Vector3f& b);

// v with its component along the unit normal n removed.
Vector3f Vector3RemoveAlong(const Vector3f& v, const Vector3f& n);
Vector4f Vector4Abs(const Vector4f& v);
Vector4f Vector4Max(const Vector4f& a, const Vector4f& b);

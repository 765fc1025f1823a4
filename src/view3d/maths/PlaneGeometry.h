#pragma once

// Planes, ray casts and visibility tests of the 3D scene. A plane is a
// Vector4f (A, B, C, D) with A*x + B*y + C*z + D = 0.

#include "view3d/maths/VectorTypes.h"

// normalise((p2 - p1) x (p3 - p1)).
Vector3f CalcPlaneNormal(const Vector3f& p1, const Vector3f& p2, const Vector3f& p3);
Vector4f CalcPlaneNormal(const Vector4f& p1, const Vector4f& p2, const Vector4f& p3);
// (A, B, C, D) / |(A, B, C)|.
Vector4f NormalizePlane(const Vector4f& plane);
// A*x + B*y + C*z + D: positive on the side the normal points to.
float PlaneEvaluatePoint(const Vector4f& plane, const Vector3f& point);

// Whether a ray is not parallel to a plane.
bool RayCastPlaneIntersect(const Vector3f& rayDirection, const Vector3f& planeNormal);
// The point where a ray meets a plane in front of its start; false when it is
// parallel or the plane lies behind.
bool RayCastPlaneIntersect(const Vector3f& rayStart, const Vector3f& rayDirection, const Vector3f& planePoint,
                           const Vector3f& planeNormal, Vector3f& hit);

struct TRaySphereHits {
    int Count = 0;
    Vector3f First;
    Vector3f Second;
};

// The ray's direction must be of unit length. Hits are ordered along the ray.
TRaySphereHits RayCastSphereIntersect(const Vector3f& rayStart, const Vector3f& rayDirection, const Vector3f& centre,
                                      float radius);

// The radius of the disc a sphere of the given radius shows from a distance.
float SphereVisibleRadius(float distance, float radius);

// The six clipping planes of a model-view-projection matrix, each normalised.
Frustum6 ExtractFrustumFromModelViewProjection(const Matrix4f& m);
// Clipped: wholly on the outer side of at least one plane.
bool IsVolumeClipped(const Vector3f& centre, float radius, const Frustum6& frustum);
bool IsBoxClipped(const Vector3f& minimum, const Vector3f& maximum, const Frustum6& frustum);

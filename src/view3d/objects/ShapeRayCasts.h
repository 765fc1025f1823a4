#pragma once

// Ray casts against the solid shapes, in the shape's own coordinates. A hit
// is the first point at or ahead of the ray's start (parameter t >= 0 along
// start + t x direction; the direction need not be of unit length), with the
// surface normal there. A ray that starts inside a closed shape hits the
// wall it leaves through.

#include <optional>

#include "view3d/maths/VectorTypes.h"

struct TShapeRay {
    Vector3f Start;
    Vector3f Direction;
};

struct TShapeHit {
    double Parameter = 0.0;
    Vector3f Point;
    Vector3f Normal;
};

// The nearer of two hits; either may be missing.
std::optional<TShapeHit> NearerHit(const std::optional<TShapeHit>& a, const std::optional<TShapeHit>& b);

// A partial disk in the plane z = 0 with normal +Z, as a GLU partial disk
// draws it: angles in degrees, 0 on +Y and growing towards +X; a negative
// sweep runs the other way, and one of 360 or more is the whole ring.
std::optional<TShapeHit> RayCastPartialDisk(const TShapeRay& ray, float innerRadius, float outerRadius,
                                            float startAngle, float sweepAngle);

// A flat ring round the Y axis at height y between two radii; its normal is
// (0, normalY, 0).
std::optional<TShapeHit> RayCastRing(const TShapeRay& ray, float y, float innerRadius, float outerRadius,
                                     float normalY);

// The side of a cone frustum round the Y axis from BottomY to TopY, whose
// radius runs linearly from BottomRadius to TopRadius. The normal points
// away from the axis, or towards it when FacesAxis is set (the inner wall of
// a tube).
struct TConeSide {
    float BottomY = 0.0f;
    float TopY = 0.0f;
    float BottomRadius = 0.0f;
    float TopRadius = 0.0f;
    bool FacesAxis = false;
};
std::optional<TShapeHit> RayCastConeSide(const TShapeRay& ray, const TConeSide& side);

// A torus round the Z axis, centred on the origin: the tube of radius
// minorRadius about the circle of radius majorRadius in the plane z = 0.
std::optional<TShapeHit> RayCastTorus(const TShapeRay& ray, float majorRadius, float minorRadius);

// A cylinder or cone frustum round the Y axis with its caps, each present as
// its flag says; the caps face away from the shape.
struct TCylinderShape {
    TConeSide Side;
    bool HasSide = true;
    bool HasBottom = true;
    bool HasTop = true;
};
std::optional<TShapeHit> RayCastCylinder(const TShapeRay& ray, const TCylinderShape& shape);

// A thick tube round the Y axis: the outer and inner walls share their
// heights, and two flat rings close it at the bottom and the top.
struct TAnnulusShape {
    TConeSide Outer;
    TConeSide Inner;
    bool HasOuter = true;
    bool HasInner = true;
    bool HasBottom = true;
    bool HasTop = true;
};
std::optional<TShapeHit> RayCastAnnulus(const TShapeRay& ray, const TAnnulusShape& shape);

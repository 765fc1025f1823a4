#pragma once

// Axis-aligned boxes of two corners.

#include "view3d/maths/VectorTypes.h"

struct TAABB {
    Vector3f Min;
    Vector3f Max;
};

// Grows the box to hold the other.
void AddBB(TAABB& box, const TAABB& other);
// From minus to plus the absolute half extents.
void SetBB(TAABB& box, const Vector3f& halfExtents);
// The extent of the eight transformed corners.
void BBTransform(TAABB& box, const Matrix4f& m);
void ScaleBB(TAABB& box, const Vector3f& factor);
void IncludeInBB(TAABB& box, const Vector3f& point);

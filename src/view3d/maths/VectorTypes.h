#pragma once

// The value types of the 3D scene: single-precision vectors and a 4x4 matrix.
// Points are row vectors multiplied on the left (v' = v x M), so the
// translation sits in row 3 and M1 x M2 applies M1 first.

#include "cad/geometry/VectorMath3.h"

// The 3-component vector is the one the 2D code already uses, so that the
// shared routines (Vector3Add, Vector3Length, ...) serve both.
using Vector3f = TVector3;

// A homogeneous point (W = 1), a direction (W = 0), an RGBA colour, or a plane
// (A, B, C, D in X, Y, Z, W with A*x + B*y + C*z + D = 0).
struct Vector4f {
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;
    float W = 0.0f;
};

// Row-major: M[row][column].
struct Matrix4f {
    float M[4][4] = {{1.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f, 0.0f},
                     {0.0f, 0.0f, 0.0f, 1.0f}};
};

// Planes in the order left, top, right, bottom, near, far.
struct Frustum6 {
    Vector4f Left;
    Vector4f Top;
    Vector4f Right;
    Vector4f Bottom;
    Vector4f Near;
    Vector4f Far;
};

inline constexpr Matrix4f IdentityMatrix4f{};

// Kept in double: as a single it would be a denormal, which a flush-to-zero
// mode turns into 0, and then a singular matrix would pass the test.
inline constexpr double SingularEpsilon = 1e-40;
inline constexpr double RayParallelEpsilon = 1e-30;


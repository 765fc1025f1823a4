#pragma once

// The value types every part of the drawing engine shares: the homogeneous
// single-precision point, box and 3x3 transform, the double-precision vector,
// the integer window point and rectangle, and the pick and clip codes.

#include <cstdint>

struct TPoint2D {
    float X = 0.0f;
    float Y = 0.0f;
    float W = 1.0f;
};

// First corner left-bottom, second corner right-top once normalised.
struct TRect2D {
    TPoint2D FirstEdge;
    TPoint2D SecondEdge;
};

// Row-major 3x3 matrix; points are row vectors multiplied on the left, so
// row 3 holds the translation and A*B applies A first.
struct TTransform2D {
    float M[3][3] = {{1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};
};

struct TVect {
    double X = 0.0;
    double Y = 0.0;
};

// Platform window coordinates: Y grows downwards.
struct TWindowPoint {
    int X = 0;
    int Y = 0;
};

struct TWindowRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// Pick codes: a larger code is a better hit; 0 and above index the control point hit.
inline constexpr int PICK_NOOBJECT = -200;
inline constexpr int PICK_INBBOX = -100;
inline constexpr int PICK_INOBJECT = -2;
inline constexpr int PICK_ONOBJECT = -1;

// The distance that goes with "nothing hit".
inline constexpr float PICK_FAR_DISTANCE = 1e8f;

// Results of segment clipping.
inline constexpr int CLIP_FIRST_MOVED = 1;
inline constexpr int CLIP_SECOND_MOVED = 2;
inline constexpr int CLIP_REJECTED = 4;
inline constexpr int CLIP_UNCHANGED = 8;

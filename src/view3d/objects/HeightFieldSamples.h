#pragma once

// The samples of a height field, computed one row at a time: only three rows
// are held at once, whatever the size of the field.

#include <functional>
#include <span>
#include <vector>

#include "view3d/lists/VectorLists.h"
#include "view3d/maths/VectorTypes.h"

struct THeightFieldSample {
    Vector3f Position;
    Vector4f Color;
    Vector3f Normal;
    TTexPoint TexPoint;
};

// Gives the height at (x, y); it may also change the colour and the texture
// point, which arrive preset.
using THeightFunction = std::function<void(float x, float y, float& z, Vector4f& color, TTexPoint& texPoint)>;

// The colour a sample has before the height function sees it: the default diffuse.
inline constexpr Vector4f HeightFieldDefaultColor{0.8f, 0.8f, 0.8f, 1.0f};

// The surface a height field shows without a handler: ripples round the
// origin that fade with the distance.
void BuiltInHeight(float x, float y, float& z, Vector4f& color, TTexPoint& texPoint);

// The rectangle over which the texture runs once from (0, 0) to (1, 1).
struct THeightFieldArea {
    float XMin = 0.0f;
    float XMax = 1.0f;
    float YMin = 0.0f;
    float YMax = 1.0f;
};

// Hands each pair of neighbouring rows (lower y first) to draw, each row
// with one sample per x value and its normals from its neighbours on both
// axes; the normals face +Z where the heights are flat.
void ForEachHeightFieldStrip(std::span<const float> xs, std::span<const float> ys, const THeightFunction& height,
                             const THeightFieldArea& area,
                             const std::function<void(std::span<const THeightFieldSample> lower,
                                                      std::span<const THeightFieldSample> upper)>& draw);

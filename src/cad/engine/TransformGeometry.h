#pragma once

// The transforms the transform tasks build from a base point B and a current
// point C (row-vector order: the left factor applies first).

#include <optional>

#include "cad/geometry/CADBaseTypes.h"

// The screen distance, per axis, that stands for a scale factor of 1 when
// X and Y scale apart: 50 pixels along the diagonal.
inline constexpr double ScaleAxisPixels = 35.355339059327376;
// The screen distance that stands for a uniform factor of 1.
inline constexpr double ScaleUniformPixels = 50.0;

TTransform2D MoveTransform(TPoint2D base, TPoint2D current);
// The angle of the direction from B to C, in radians.
float DirectionAngle(TPoint2D base, TPoint2D current);
TTransform2D RotateAbout(TPoint2D base, float angle);
TTransform2D ScaleAbout(TPoint2D base, float sx, float sy);
// The mirror in the line through B and C.
TTransform2D MirrorThrough(TPoint2D base, TPoint2D current);

struct TScaleFactors {
    float X = 1.0f;
    float Y = 1.0f;
};

// The factors that the screen positions b and c of B and C stand for.
TScaleFactors ScreenScaleFactors(TPoint2D b, TPoint2D c, bool uniform);
// A zero or non-finite factor would flatten the objects for good: refused.
bool UsableScale(const TScaleFactors& factors);

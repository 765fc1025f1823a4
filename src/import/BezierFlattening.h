#pragma once

// Quadratic and cubic Bézier curves as runs of points on the curve, close
// enough that no chord strays from the curve by more than a tolerance.

#include <vector>

#include "cad/geometry/CADBaseTypes.h"

// The most chords one curve is given, whatever its size and the tolerance.
inline constexpr int kMaxCurveSegments = 1000;

// How many chords of equal parameter steps keep within the tolerance: from
// the bound h²/8 · max|B''| on a chord's distance over a step h. At least 1,
// at most kMaxCurveSegments (also for a tolerance of 0 or a curve beyond the
// range of doubles).
int QuadraticSegments(TVect p0, TVect p1, TVect p2, double tolerance);
int CubicSegments(TVect p0, TVect p1, TVect p2, TVect p3, double tolerance);

// Appends the points after p0 up to the end point (which is exact), at
// equal parameter steps.
void AppendQuadratic(TVect p0, TVect p1, TVect p2, int segments, std::vector<TVect>& points);
void AppendCubic(TVect p0, TVect p1, TVect p2, TVect p3, int segments, std::vector<TVect>& points);

#pragma once

// A circular arc given the way polylines store it: start point, end point and
// bulge = tan(sweep / 4), positive counter-clockwise, 0 for a straight segment.
// Both the toolpath code and the drawing import draw such arcs as points.

#include <cmath>
#include <vector>

#include "cad/geometry/CADBaseTypes.h"

// Number of points TessellateBulgeArc2D appends.
inline constexpr int BulgeArcTessellationPoints = 51;

// Centre and radius; the caller knows the bulge is not 0. Inline and not
// hypot: toolpath splitting asks for arc centres millions of times.
inline void BulgeArcCentre2D(TVect start, TVect end, double bulge, TVect& centre, double& radius)
{
    const double k = (1.0 / bulge - bulge) / 2.0;
    centre.X = (start.X + end.X - (end.Y - start.Y) * k) / 2.0;
    centre.Y = (start.Y + end.Y + (end.X - start.X) * k) / 2.0;
    const double dx = start.X - centre.X;
    const double dy = start.Y - centre.Y;
    radius = std::sqrt(dx * dx + dy * dy);
}

// Appends 51 points of the arc, from its start to exactly its end point; the
// last interval is two steps wide. Nothing when the bulge is 0 within the
// system's equality tolerance.
void TessellateBulgeArc2D(TVect start, TVect end, double bulge, std::vector<TVect>& points);

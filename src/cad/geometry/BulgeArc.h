#pragma once

// A circular arc given the way polylines store it: start point, end point and
// bulge = tan(sweep / 4), positive counter-clockwise, 0 for a straight segment.
// Both the toolpath code and the drawing import draw such arcs as points.

#include <vector>

#include "cad/geometry/CADBaseTypes.h"

// Number of points TessellateBulgeArc2D appends.
inline constexpr int BulgeArcTessellationPoints = 51;

// Centre and radius; the caller knows the bulge is not 0.
void BulgeArcCentre2D(TVect start, TVect end, double bulge, TVect& centre, double& radius);

// Appends 51 points of the arc, from its start to exactly its end point; the
// last interval is two steps wide. Nothing when the bulge is 0 within the
// system's equality tolerance.
void TessellateBulgeArc2D(TVect start, TVect end, double bulge, std::vector<TVect>& points);

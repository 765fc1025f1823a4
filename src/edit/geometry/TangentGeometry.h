#pragma once

// Circles and lines tangent to lines and circles, on world points.

#include <optional>

#include "cad/geometry/CADBaseTypes.h"

// The point of a line (through P and Q) or of a circle nearest to the given
// point: the foot of the perpendicular, or the circle's point towards it.
// None for a degenerate line or a point at the circle's centre.
std::optional<TVect> FootOnLine(TVect p, TVect q, TVect point);
std::optional<TVect> FootOnCircle(TVect centre, double radius, TVect point);

struct TTangentSegment {
    TVect From;
    TVect To;
};

// The tangent of length L at direction A (degrees) to the circle, on the
// side of the pick: from its far end to the tangent point.
TTangentSegment TangentAtAngle(TVect centre, double radius, double length, double degrees, TVect pick);

// Of the four lines tangent to both circles, the one whose tangent points lie
// nearest to the picks (pick 1 on circle 1): from the point on circle 2 to
// the one on circle 1. None when no tangent exists (concentric circles, one
// inside the other).
std::optional<TTangentSegment> TangentToTwoCircles(TVect centre1, double radius1, TVect centre2, double radius2,
                                                   TVect pick1, TVect pick2);

#pragma once

// Merging two lines on one straight line, or two arcs of one circle, into one.

#include <optional>

#include "edit/geometry/ExtendGeometry.h"

// The line that replaces the second when both its ends lie on the first's
// line (cross products equal within the tolerance); none otherwise.
std::optional<TSegmentEnds> JoinLines(TSegmentEnds first, TSegmentEnds second, double tolerance);

// Whether two arcs lie on one circle.
bool SameCircle(TVect centre1, double radius1, TVect centre2, double radius2);

// The arc that covers both arcs of one circle (radians): it starts where the
// arc that the other continues starts, and ends where the other ends. The
// arc whose end meets the other's start (or is nearer to it) comes first,
// so the order of the picks cannot give the complementary arc.
TArcAngles JoinArcs(TVect centre, double radius, TArcAngles first, TArcAngles second);

#pragma once

// Merging two lines on one straight line, or two arcs of one circle, into one.

#include <optional>

#include "edit/geometry/ExtendGeometry.h"

// The line that replaces the second when both its ends lie on the first's
// line (cross products equal within the tolerance): it covers both lines, in
// the first one's direction. None otherwise.
std::optional<TSegmentEnds> JoinLines(TSegmentEnds first, TSegmentEnds second, double tolerance);

// Whether two arcs lie on one circle.
bool SameCircle(TVect centre1, double radius1, TVect centre2, double radius2);

// The arc that covers both arcs of one circle (radians), whatever the order
// of the picks: overlapping or touching arcs give their union (a full turn at
// most); arcs apart are bridged across the smaller gap.
TArcAngles JoinArcs(TVect centre, double radius, TArcAngles first, TArcAngles second);

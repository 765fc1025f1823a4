#pragma once

// Lengthening lines, arcs and open polylines at the end nearer a pick, and
// cutting entities into halves; world points and radians.

#include <optional>
#include <vector>

#include "cad/geometry/CADBaseTypes.h"
#include "edit/geometry/FilletGeometry.h"

struct TSegmentEnds {
    TVect Start;
    TVect End;
};

// The line lengthened by L at the end nearer the
// pick; on a tie the start moves. A negative L shortens. None for L = 0.
std::optional<TSegmentEnds> ExtendLine(TVect start, TVect end, TVect pick, double length);

// The arc lengthened by the arc length L at the end nearer the pick, never
// past one full turn nor down to no sweep. None for L = 0, a full circle,
// or a shortening that would leave nothing.
std::optional<TArcAngles> ExtendArc(TVect centre, double radius, TArcAngles arc, TVect pick, double length);

// The open polyline's points with the end nearer the pick moved on by L
// along its last segment. Extended at its last end the run comes back
// reversed, starting with the moved point. None for L = 0, fewer than two
// points, or a zero-length end segment.
std::optional<std::vector<TVect>> ExtendPolyline(const std::vector<TVect>& points, TVect pick, double length);

// The counter-clockwise sweep halves of an arc; a zero sweep is the full turn.
std::pair<TArcAngles, TArcAngles> HalveArc(TArcAngles arc);

#pragma once

// Parallel copies of single entities, and the thinning of polylines by the
// Douglas-Peucker method. Plain functions: no view, no drawing.

#include <memory>
#include <span>
#include <vector>

#include "cad/geometry/CADBaseTypes.h"

class TObject2D;
class TPolyline2D;

// Each point moved by the corner vector of its two neighbouring directions:
// +d is to the right of the direction of travel. A closed run (last point
// equal to the first) wraps; an open one continues straight at its ends.
std::vector<TVect> OffsetPointRun(std::span<const TVect> points, bool closed, double d);

// A new object, not in the drawing, parallel to the source at distance d: a
// line moves to the left of its direction, arcs and circles grow by d, runs
// of points (polylines, frames, other curves) move to the right of travel.
// None for other classes, and for an arc or circle whose radius would not
// stay positive.
std::unique_ptr<TObject2D> OffsetObject(TObject2D& source, double d);

// The point of the source and of its copy that the direction arrow joins:
// first points, the circle at angle 0, the arc at its start angle.
TVect OffsetAnchor(TObject2D& object);

// The five points of the arrow from the source point to the copy point, s
// being a tenth of the view's visible width.
std::vector<TVect> OffsetArrow(TVect from, TVect to, double viewWidth);

// Which points the simplification at tolerance t keeps; the ends always.
std::vector<bool> DouglasPeuckerKeep(std::span<const TVect> points, double tolerance);

// The simplified polyline of a polyline or other curve, in world points;
// none for other classes.
std::unique_ptr<TPolyline2D> SimplifyObject(TObject2D& object, double tolerance);

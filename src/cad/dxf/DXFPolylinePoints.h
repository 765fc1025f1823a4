#pragma once

// The outline of a DXF polyline: its vertices joined by straight segments,
// or by arcs where a vertex carries a bulge.

#include <memory>
#include <span>
#include <vector>

#include "cad/geometry/CADBaseTypes.h"

class TPolyline2D;

struct TDXFVertex {
    double X = 0.0;
    double Y = 0.0;
    // Of the segment from this vertex to the next (to the first when closing).
    double Bulge = 0.0;
};

// The first vertex, then per segment its end point, or the arc's points after
// its start. A closed outline ends with its first vertex again, the closing
// segment bent by the last vertex's bulge.
std::vector<TPoint2D> DXFPolylinePoints(std::span<const TDXFVertex> vertices, bool closed);

// Drawing streams count a shape's points in 16 bits: a longer outline becomes
// several polylines, each starting where the one before it ended.
inline constexpr std::size_t MaxPolylinePoints = 65535;
std::vector<std::unique_ptr<TPolyline2D>> PolylinePieces(std::span<const TPoint2D> points);

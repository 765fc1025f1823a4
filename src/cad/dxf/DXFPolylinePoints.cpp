#include "cad/dxf/DXFPolylinePoints.h"

#include <algorithm>

#include "cad/dxf/DXFRead.h"
#include "cad/geometry/BulgeArc.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Polyline2D.h"

namespace {

TPoint2D ToPoint(double x, double y)
{
    return MakePoint2D(DXFToFloat(x), DXFToFloat(y));
}

} // namespace

std::vector<TPoint2D> DXFPolylinePoints(std::span<const TDXFVertex> vertices, bool closed)
{
    std::vector<TPoint2D> points;
    if (vertices.empty())
        return points;
    std::size_t capacity = vertices.size() + 1;
    for (const TDXFVertex& v : vertices)
        if (v.Bulge != 0.0)
            capacity += BulgeArcTessellationPoints;
    points.reserve(capacity);
    points.push_back(ToPoint(vertices[0].X, vertices[0].Y));
    const std::size_t segments = closed && vertices.size() > 1 ? vertices.size() : vertices.size() - 1;
    std::vector<TVect> arc;
    for (std::size_t i = 0; i < segments; ++i) {
        const TDXFVertex& a = vertices[i];
        const TDXFVertex& b = vertices[(i + 1) % vertices.size()];
        arc.clear();
        TessellateBulgeArc2D({a.X, a.Y}, {b.X, b.Y}, a.Bulge, arc);
        if (arc.empty()) {
            points.push_back(ToPoint(b.X, b.Y));
            continue;
        }
        // The arc's first point is the start, already in place.
        for (std::size_t k = 1; k < arc.size(); ++k)
            points.push_back(ToPoint(arc[k].X, arc[k].Y));
    }
    return points;
}

namespace {

// Filled after construction: the constructor would set room for the points
// aside and adding them would then grow the set by as much again.
std::unique_ptr<TPolyline2D> MakePolyline(std::span<const TPoint2D> points)
{
    auto polyline = std::make_unique<TPolyline2D>(0, std::span<const TPoint2D>());
    polyline->Points()->AddPoints(points);
    return polyline;
}

} // namespace

std::vector<std::unique_ptr<TPolyline2D>> PolylinePieces(std::span<const TPoint2D> points)
{
    std::vector<std::unique_ptr<TPolyline2D>> pieces;
    if (points.size() < 2) {
        if (!points.empty())
            pieces.push_back(MakePolyline(points));
        return pieces;
    }
    std::size_t first = 0;
    do {
        const std::size_t count = std::min(MaxPolylinePoints, points.size() - first);
        pieces.push_back(MakePolyline(points.subspan(first, count)));
        first += count - 1;
    } while (first + 1 < points.size());
    return pieces;
}

#pragma once

// Helpers for the SVG tests: documents read from text, a path's vertices
// written as short text ("M10,20 L30,40 Z"), the drawing's polygons likewise,
// and how closely a polygon follows the curves it stands for.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cad/base/Settings.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/shapes/Polyline2D.h"
#include "import/SvgParser.h"
#include "import/SvgPathRenderer.h"

namespace svgtest {

struct TReadDocument {
    svg::path_renderer Paths;
    std::string Title;
};

inline std::unique_ptr<TReadDocument> Read(std::string_view document)
{
    auto read = std::make_unique<TReadDocument>();
    svg::parser reader(read->Paths);
    reader.parse_bytes(document);
    read->Title = reader.title();
    return read;
}

inline std::string PathDocument(std::string_view data)
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\"><path d=\"" + std::string(data) + "\"/></svg>";
}

inline std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// The vertices of one path: M move, L line, Q and C the points of quadratic
// and cubic curves, Z a close marker.
inline std::string Vertices(const svg::path_renderer& paths, std::size_t path = 0)
{
    const agg::path_storage& storage = paths.storage();
    std::string text;
    for (unsigned i = paths.attributes().at(path).index; i < paths.path_end(path); ++i) {
        double x = 0.0;
        double y = 0.0;
        const unsigned command = storage.vertex(i, &x, &y);
        if (agg::is_stop(command))
            break;
        if (!text.empty())
            text += ' ';
        if (agg::is_end_poly(command)) {
            text += 'Z';
            continue;
        }
        text += agg::is_move_to(command) ? "M" : agg::is_line_to(command) ? "L" : command == agg::path_cmd_curve3 ? "Q" : "C";
        text += Number(x) + ',' + Number(y);
    }
    return text;
}

// The drawing's polygons, one a line: "layer: (x,y) (x,y) ...".
inline std::string Polygons(TCADCmp2D& drawing)
{
    std::string text;
    auto iterator = drawing.ObjectsIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        auto* polygon = dynamic_cast<TPolygon2D*>(object);
        if (!polygon) {
            text += "not a polygon\n";
            continue;
        }
        text += std::to_string(polygon->Layer) + ':';
        for (int i = 0; i < polygon->PointCount(); ++i) {
            const TPoint2D p = (*polygon->Points())[i];
            text += " (" + Number(p.X) + ',' + Number(p.Y) + ')';
        }
        text += '\n';
    }
    return text;
}

inline std::vector<TPoint2D> PointsOf(TCADCmp2D& drawing, int object)
{
    const auto* polygon = dynamic_cast<TPolygon2D*>(drawing.GetObject(object));
    std::vector<TPoint2D> points;
    if (polygon)
        for (int i = 0; i < polygon->PointCount(); ++i)
            points.push_back((*polygon->Points())[i]);
    return points;
}

// The chain tolerance, which bounds how far flattened curves stray, set for one test.
class TChainTolScope {
public:
    explicit TChainTolScope(double tolerance) : Saved(ChainTol) { ChainTol = tolerance; }
    ~TChainTolScope() { ChainTol = Saved; }
    TChainTolScope(const TChainTolScope&) = delete;
    TChainTolScope& operator=(const TChainTolScope&) = delete;

private:
    double Saved;
};

// A cubic Bézier curve in drawing coordinates.
struct TCubic {
    TVect P0, P1, P2, P3;

    TVect At(double t) const
    {
        const double s = 1.0 - t;
        const double b0 = s * s * s, b1 = 3 * s * s * t, b2 = 3 * s * t * t, b3 = t * t * t;
        return {b0 * P0.X + b1 * P1.X + b2 * P2.X + b3 * P3.X, b0 * P0.Y + b1 * P1.Y + b2 * P2.Y + b3 * P3.Y};
    }
};

// A quadratic curve as the cubic that draws the same.
inline TCubic Quadratic(TVect p0, TVect p1, TVect p2)
{
    return {p0, {p0.X + 2.0 / 3 * (p1.X - p0.X), p0.Y + 2.0 / 3 * (p1.Y - p0.Y)},
            {p2.X + 2.0 / 3 * (p1.X - p2.X), p2.Y + 2.0 / 3 * (p1.Y - p2.Y)}, p2};
}

// How far a closed polygon strays from the run of curves it stands for: its
// farthest point from the curves, and the curves' farthest point from its edges.
struct TCurveFit {
    double PointsOffCurve = 0.0;
    double CurveOffEdges = 0.0;
};

inline double Distance(TVect a, TVect b)
{
    return std::hypot(a.X - b.X, a.Y - b.Y);
}

inline double DistanceToSegment(TVect p, TVect a, TVect b)
{
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / length2, 0.0, 1.0) : 0.0;
    return Distance(p, {a.X + t * dx, a.Y + t * dy});
}

inline double DistanceToCurve(TVect p, const TCubic& curve)
{
    // The nearest of many samples, then narrowed down around it.
    constexpr int kSamples = 2000;
    int best = 0;
    for (int i = 1; i <= kSamples; ++i)
        if (Distance(p, curve.At(double(i) / kSamples)) < Distance(p, curve.At(double(best) / kSamples)))
            best = i;
    double lo = std::max(0.0, (best - 1.0) / kSamples), hi = std::min(1.0, (best + 1.0) / kSamples);
    for (int step = 0; step < 100; ++step) {
        const double a = lo + (hi - lo) / 3, b = hi - (hi - lo) / 3;
        if (Distance(p, curve.At(a)) < Distance(p, curve.At(b)))
            hi = b;
        else
            lo = a;
    }
    return Distance(p, curve.At((lo + hi) / 2));
}

inline TCurveFit Fit(std::span<const TCubic> curves, std::span<const TPoint2D> polygon)
{
    TCurveFit fit;
    for (const TPoint2D& point : polygon) {
        double nearest = std::numeric_limits<double>::max();
        for (const TCubic& curve : curves)
            nearest = std::min(nearest, DistanceToCurve({point.X, point.Y}, curve));
        fit.PointsOffCurve = std::max(fit.PointsOffCurve, nearest);
    }
    constexpr int kSamples = 4000;
    for (const TCubic& curve : curves)
        for (int i = 0; i <= kSamples; ++i) {
            const TVect p = curve.At(double(i) / kSamples);
            double nearest = std::numeric_limits<double>::max();
            for (std::size_t j = 0; j < polygon.size(); ++j) {
                const TPoint2D a = polygon[j], b = polygon[(j + 1) % polygon.size()];
                nearest = std::min(nearest, DistanceToSegment(p, {a.X, a.Y}, {b.X, b.Y}));
            }
            fit.CurveOffEdges = std::max(fit.CurveOffEdges, nearest);
        }
    return fit;
}

} // namespace svgtest

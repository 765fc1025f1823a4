#include "cam/chains/ChainDrawing.h"

#include <cmath>
#include <numbers>

#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"

namespace {

TPoint2D P(TVect v)
{
    return MakePoint2D(static_cast<float>(v.X), static_cast<float>(v.Y));
}

std::unique_ptr<TObject2D> Polyline(const TPointList& points)
{
    std::vector<TPoint2D> vertices;
    for (const TVect p : points)
        vertices.push_back(P(p));
    return std::make_unique<TPolyline2D>(0, vertices);
}

std::unique_ptr<TObject2D> ElementShape(const TChainElement& e)
{
    TBulgeArc arc;
    if (!BulgeArcParams(e, arc))
        return std::make_unique<TLine2D>(0, P(StartPoint(e)), P(EndPoint(e)));
    return std::make_unique<TArco2D>(0, P(arc.Centre), P({arc.Centre.X + arc.Radius, arc.Centre.Y}),
                                     static_cast<float>(arc.From), static_cast<float>(arc.To));
}

} // namespace

TPointList ChainArrowPoints(const TChainElement& e, double length)
{
    const TVect s = StartPoint(e);
    TVect u = StartTangent(e);
    const double norm = std::hypot(u.X, u.Y);
    u = norm > 0.0 ? TVect{u.X / norm, u.Y / norm} : TVect{1.0, 0.0};
    const TVect right{u.Y, -u.X};
    const TVect left{-u.Y, u.X};
    const double b = length / 1.5;
    const TVect tip{s.X + length * u.X, s.Y + length * u.Y};
    const TVect base{s.X + b * u.X, s.Y + b * u.Y};
    return {s, tip, {base.X + b / 5 * right.X, base.Y + b / 5 * right.Y},
            {base.X + b / 5 * left.X, base.Y + b / 5 * left.Y}, tip};
}

std::vector<TChainShape> ChainShapes(const TChain& chain, bool red, double arrowLength, int side, bool reversed)
{
    std::vector<TChainShape> shapes;
    if (chain.empty())
        return shapes;
    for (const TChainElement& e : chain)
        shapes.push_back({ElementShape(e), red ? OPEN_POCKET_COLOR : CHAIN_COLOR, 2});
    const TPointList arrow = ChainArrowPoints(chain.front(), arrowLength);
    shapes.push_back({Polyline(arrow), ARROW_COLOR, 2});
    if (side != 0) {
        const double turn = side * (reversed ? -1.0 : 1.0) * std::numbers::pi / 2.0;
        const TVect s = arrow.front();
        TPointList turned;
        for (const TVect p : arrow) {
            const double x = (p.X - s.X) * 0.6;
            const double y = (p.Y - s.Y) * 0.6;
            turned.push_back({s.X + x * std::cos(turn) - y * std::sin(turn), s.Y + x * std::sin(turn) + y * std::cos(turn)});
        }
        shapes.push_back({Polyline(turned), ARROW_COLOR, 2});
    }
    return shapes;
}

std::vector<TChainShape> DrillPointShapes(const std::vector<TVect>& points, double radius, double arrowLength)
{
    std::vector<TChainShape> shapes;
    for (std::size_t k = 0; k < points.size(); ++k) {
        shapes.push_back({std::make_unique<TPunto2D>(0, P(points[k])), DRILL_COLOR, 1});
        if (radius > 0.0)
            shapes.push_back({std::make_unique<TCerchio2D>(0, P(points[k]), P({points[k].X + radius, points[k].Y})),
                              DRILL_COLOR, 1});
        if (k > 0)
            shapes.push_back({std::make_unique<TLine2D>(0, P(points[k - 1]), P(points[k])), DRILL_COLOR, 1});
    }
    if (points.size() >= 2) {
        const TPointList arrow = ChainArrowPoints(MakeElement(points[0], points[1]), arrowLength);
        shapes.push_back({Polyline(arrow), ARROW_COLOR, 2});
    }
    return shapes;
}

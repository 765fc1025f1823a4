#include "edit/geometry/Offset.h"

#include <cmath>
#include <utility>

#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cam/toolpath/ChainOffset.h"
#include "edit/geometry/PolylineConverters.h"

namespace {

TVect Minus(TVect a, TVect b)
{
    return {a.X - b.X, a.Y - b.Y};
}

TVect ToVect(TPoint2D p)
{
    return {p.X, p.Y};
}

TPoint2D ToPoint(TVect v)
{
    return MakePoint2D(static_cast<float>(v.X), static_cast<float>(v.Y));
}

std::vector<TVect> OutlinePoints(const TOutline2D& outline)
{
    TProfileUse use(outline);
    const TPointsSet2D& profile = outline.ProfilePoints();
    std::vector<TVect> points;
    for (int i = 0; i < profile.Count(); ++i)
        points.push_back(ToVect(profile[i]));
    return points;
}

std::unique_ptr<TObject2D> RunObject(const std::vector<TVect>& points, bool closed, double d)
{
    std::vector<TPoint2D> moved;
    for (TVect v : OffsetPointRun(points, closed, d))
        moved.push_back(ToPoint(v));
    return std::make_unique<TPolyline2D>(0, moved);
}

double SquaredDistanceToSegment(TVect p, TVect a, TVect b)
{
    const TVect w = Minus(b, a);
    const TVect ap = Minus(p, a);
    const double c = ap.X * w.X + ap.Y * w.Y;
    const double ww = w.X * w.X + w.Y * w.Y;
    TVect q = a;
    if (c > ww)
        q = b;
    else if (c > 0)
        q = {a.X + c / ww * w.X, a.Y + c / ww * w.Y};
    const TVect pq = Minus(p, q);
    return pq.X * pq.X + pq.Y * pq.Y;
}

} // namespace

std::vector<TVect> OffsetPointRun(std::span<const TVect> points, bool closed, double d)
{
    const std::size_t n = points.size();
    std::vector<TVect> result(points.begin(), points.end());
    if (n < 2)
        return result;
    for (std::size_t i = 0; i < n; ++i) {
        TVect din;
        TVect dout;
        if (closed && (i == 0 || i == n - 1)) {
            // The first point is repeated at the end: both see the same corner.
            din = Minus(points[0], points[n - 2]);
            dout = Minus(points[1], points[0]);
        } else {
            dout = i + 1 < n ? Minus(points[i + 1], points[i]) : Minus(points[i], points[i - 1]);
            din = i > 0 ? Minus(points[i], points[i - 1]) : dout;
        }
        const TVect v = CornerOffsetVector(din, dout, d);
        result[i] = Minus(points[i], v);
    }
    return result;
}

std::unique_ptr<TObject2D> OffsetObject(TObject2D& source, double d)
{
    std::unique_ptr<TObject2D> copy;
    if (auto* line = dynamic_cast<TLine2D*>(&source)) {
        const TVect p0 = ToVect((*line->Points())[0]);
        const TVect p1 = ToVect((*line->Points())[1]);
        const TVect v = CornerOffsetVector(Minus(p0, p1), Minus(p0, p1), d);
        copy = std::make_unique<TLine2D>(0, ToPoint(Minus(p0, v)), ToPoint(Minus(p1, v)));
    } else if (auto* arc = dynamic_cast<TArco2D*>(&source)) {
        const TArcFrame f = arc->Frame();
        const double r = f.RX + d;
        if (!(r > 0))
            return nullptr;
        auto made = std::make_unique<TArco2D>(0, ToPoint({f.CX, f.CY}), ToPoint({f.CX + r, f.CY}), arc->StartAngle(),
                                              arc->EndAngle());
        made->SetDirection(arc->Direction);
        copy = std::move(made);
    } else if (auto* circle = dynamic_cast<TCerchio2D*>(&source)) {
        const TVect c = ToVect((*circle->Points())[0]);
        const TVect on = ToVect((*circle->Points())[1]);
        const double r = std::hypot(on.X - c.X, on.Y - c.Y) + d;
        if (!(r > 0))
            return nullptr;
        copy = std::make_unique<TCerchio2D>(0, ToPoint(c), ToPoint({c.X + r, c.Y}));
    } else if (auto* frame = dynamic_cast<TFrame2D*>(&source)) {
        const TVect a = ToVect((*frame->Points())[0]);
        const TVect b = ToVect((*frame->Points())[1]);
        copy = RunObject({a, {a.X, b.Y}, b, {b.X, a.Y}, a}, true, d);
    } else if (auto* outline = dynamic_cast<TOutline2D*>(&source)) {
        std::vector<TVect> points = OutlinePoints(*outline);
        // The run's corners wrap through a repeated first point; a polygon
        // is closed without one.
        const bool closed = outline->IsClosed();
        if (closed && points.size() > 1
            && (points.front().X != points.back().X || points.front().Y != points.back().Y))
            points.push_back(points.front());
        copy = RunObject(points, closed, d);
    } else {
        return nullptr;
    }
    if (source.HasTransform())
        copy->SetModelTransform(source.GetTransform());
    return copy;
}

TVect OffsetAnchor(TObject2D& object)
{
    TVect p;
    if (auto* arc = dynamic_cast<TArcCurve2D*>(&object); arc && dynamic_cast<TArco2D*>(&object)) {
        const TArcFrame f = arc->Frame();
        p = {f.CX + f.RX * std::cos(arc->StartAngle()), f.CY + f.RX * std::sin(arc->StartAngle())};
    } else if (auto* circle = dynamic_cast<TCerchio2D*>(&object)) {
        const TVect c = ToVect((*circle->Points())[0]);
        const TVect on = ToVect((*circle->Points())[1]);
        p = {c.X + std::hypot(on.X - c.X, on.Y - c.Y), c.Y};
    } else if (auto* outline = dynamic_cast<TOutline2D*>(&object); outline && !dynamic_cast<TFrame2D*>(&object)) {
        TProfileUse use(*outline);
        if (outline->ProfilePointCount() > 0)
            p = ToVect(outline->ProfilePoints()[0]);
    } else if (auto* primitive = dynamic_cast<TPrimitive2D*>(&object); primitive && primitive->PointCount() > 0) {
        p = ToVect((*primitive->Points())[0]);
    }
    return ToVect(ApplyTransform2D(ToPoint(p), object.GetTransform()));
}

std::vector<TVect> OffsetArrow(TVect from, TVect to, double viewWidth)
{
    const double length = std::hypot(to.X - from.X, to.Y - from.Y);
    const TVect u = length > 0 ? TVect{(to.X - from.X) / length, (to.Y - from.Y) / length} : TVect{1, 0};
    const TVect n{-u.Y, u.X};
    const double s = viewWidth / 10.0;
    const double s2 = s / 1.5;
    const TVect tip{from.X + s * u.X, from.Y + s * u.Y};
    const TVect b{from.X + s2 * u.X, from.Y + s2 * u.Y};
    return {from, tip, {b.X + s2 / 4 * n.X, b.Y + s2 / 4 * n.Y}, {b.X - s2 / 4 * n.X, b.Y - s2 / 4 * n.Y}, tip};
}

std::vector<bool> DouglasPeuckerKeep(std::span<const TVect> points, double tolerance)
{
    const std::size_t n = points.size();
    std::vector<bool> keep(n, false);
    if (n == 0)
        return keep;
    keep.front() = true;
    keep.back() = true;
    const double t2 = tolerance * tolerance;
    // Spans still to split; a list instead of recursion, so long traced
    // outlines cannot exhaust the call stack.
    std::vector<std::pair<std::size_t, std::size_t>> spans{{0, n - 1}};
    while (!spans.empty()) {
        const auto [i, k] = spans.back();
        spans.pop_back();
        if (i + 1 >= k)
            continue;
        double largest = -1;
        std::size_t at = i;
        for (std::size_t j = i + 1; j < k; ++j) {
            const double dist = SquaredDistanceToSegment(points[j], points[i], points[k]);
            if (dist > largest) {
                largest = dist;
                at = j;
            }
        }
        if (largest > t2) {
            keep[at] = true;
            spans.emplace_back(at, k);
            spans.emplace_back(i, at);
        }
    }
    return keep;
}

std::unique_ptr<TPolyline2D> SimplifyObject(TObject2D& object, double tolerance)
{
    std::unique_ptr<TPolyline2D> converted;
    TPolyline2D* poly = dynamic_cast<TPolyline2D*>(&object);
    if (poly == nullptr) {
        auto* curve = dynamic_cast<TCurve2D*>(&object);
        if (curve == nullptr)
            return nullptr;
        converted = CurveToPolyline(*curve);
        poly = converted.get();
    }
    const TTransform2D t = poly->GetTransform();
    std::vector<TVect> points;
    for (int i = 0; i < poly->PointCount(); ++i)
        points.push_back(ToVect(ApplyTransform2D((*poly->Points())[i], t)));
    const std::vector<bool> keep = DouglasPeuckerKeep(points, tolerance);
    std::vector<TPoint2D> kept;
    for (std::size_t i = 0; i < points.size(); ++i)
        if (keep[i])
            kept.push_back(ToPoint(points[i]));
    return std::make_unique<TPolyline2D>(0, kept);
}

#include "edit/geometry/FilletGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "cad/geometry/VectorHelpers.h"

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Lines are stretched this far past their ends so that a fillet may lie
// beyond the drawn segment.
constexpr double kLineStretch = 10000.0;

struct TLineEq {
    double A, B, C;
};

TLineEq LineThrough(TVect p, TVect q) { return {q.Y - p.Y, p.X - q.X, q.X * p.Y - p.X * q.Y}; }

double SignedDistance(const TLineEq& l, TVect v) { return (l.A * v.X + l.B * v.Y + l.C) / std::hypot(l.A, l.B); }

TVect Meet(const TLineEq& a, const TLineEq& b)
{
    const double det = a.A * b.B - a.B * b.A;
    return {(a.B * b.C - b.B * a.C) / det, (b.A * a.C - a.A * b.C) / det};
}

TVect Foot(const TLineEq& l, TVect v)
{
    const double k = (l.A * v.X + l.B * v.Y + l.C) / (l.A * l.A + l.B * l.B);
    return {v.X - k * l.A, v.Y - k * l.B};
}

TVect Towards(TVect centre, double radius, TVect target)
{
    const TVect d = SubVect(target, centre);
    const double length = std::hypot(d.X, d.Y);
    return {centre.X + radius * d.X / length, centre.Y + radius * d.Y / length};
}

double Angle2Pi(TVect centre, TVect point)
{
    double a = std::atan2(point.Y - centre.Y, point.X - centre.X);
    if (a < 0.0)
        a += kTwoPi;
    return a;
}

double Wrap2Pi(double a)
{
    a = std::fmod(a, kTwoPi);
    return a < 0.0 ? a + kTwoPi : a;
}

// The parameters t along P + t(Q - P) where the line meets the circle; a
// touching line gives one.
std::vector<double> LineCircleParameters(TVect p, TVect q, TVect centre, double radius, bool keepTouch)
{
    const TVect d = SubVect(q, p);
    const TVect f = SubVect(p, centre);
    const double a = DotProduct(d, d);
    const double b = 2.0 * DotProduct(d, f);
    const double c = DotProduct(f, f) - radius * radius;
    if (!(a > 0.0) || !(radius > 0.0))
        return {};
    // Touching within the equality tolerance: the distance from the centre to the line.
    const double distance = std::fabs(CrossProduct(d, f)) / std::sqrt(a);
    if (std::fabs(distance - radius) <= REAL_EPSILON) {
        if (!keepTouch)
            return {};
        return {-b / (2.0 * a)};
    }
    if (distance > radius)
        return {};
    const double disc = std::max(0.0, b * b - 4.0 * a * c);
    const double root = std::sqrt(disc);
    return {(-b - root) / (2.0 * a), (-b + root) / (2.0 * a)};
}

TVect At(TVect p, TVect q, double t) { return {p.X + t * (q.X - p.X), p.Y + t * (q.Y - p.Y)}; }

TVect Nearer(const std::vector<TVect>& candidates, TVect target)
{
    // On an exact tie the later candidate wins.
    return PointDistance(candidates[0], target) < PointDistance(candidates[1], target) ? candidates[0]
                                                                                      : candidates[1];
}

bool CircleCrossings(TVect c1, double r1, TVect c2, double r2, TVect& a, TVect& b)
{
    const TVect d = SubVect(c2, c1);
    const double distance = std::hypot(d.X, d.Y);
    if (!(distance > REAL_EPSILON) || !(r1 > 0.0) || !(r2 > 0.0))
        return false;
    if (distance > r1 + r2 + REAL_EPSILON || distance < std::fabs(r1 - r2) - REAL_EPSILON)
        return false;
    const double along = (distance * distance + r1 * r1 - r2 * r2) / (2.0 * distance);
    const double h = std::sqrt(std::max(0.0, r1 * r1 - along * along));
    const TVect u = {d.X / distance, d.Y / distance};
    const TVect base = {c1.X + along * u.X, c1.Y + along * u.Y};
    a = {base.X - h * u.Y, base.Y + h * u.X};
    b = {base.X + h * u.Y, base.Y - h * u.X};
    return true;
}

bool WithinSweep(TVect centre, TArcAngles arc, TVect point)
{
    const double start = Wrap2Pi(arc.Start);
    double sweep = Wrap2Pi(arc.End - start);
    if (sweep <= 0.0)
        sweep = kTwoPi;
    const double offset = Wrap2Pi(Angle2Pi(centre, point) - start);
    return offset <= sweep + 1e-9 || offset >= kTwoPi - 1e-9;
}

} // namespace

TArcAngles ShortArcAngles(TVect centre, TVect first, TVect second)
{
    const TVect u1 = SubVect(first, centre);
    const TVect u2 = SubVect(second, centre);
    const double a = Angle2Pi({0.0, 0.0}, u1);
    const double s = VectAngle(u1, u2);
    const auto positive = [](double angle) { return angle < 0.0 ? angle + kTwoPi : angle; };
    if (CrossProduct(u1, u2) >= 0.0)
        return {a, positive(a + s)};
    return {positive(a - s), a};
}

bool ReplacesFirstEnd(TVect p, TVect q, TVect m, TVect x, TVect t)
{
    const TVect f = NearestPointOnSegment(m, p, q);
    if (EqualPoints(f, p))
        return true;
    return !EqualPoints(f, q) && VectQuadrant(SubVect(q, p)) == VectQuadrant(SubVect(t, x));
}

int SideOfCircle(TVect centre, double radius, TVect point)
{
    const TVect d = SubVect(point, centre);
    const double squared = DotProduct(d, d);
    if (EqualReals(squared, radius * radius))
        return 0;
    return squared < radius * radius ? -1 : 1;
}

std::vector<TVect> LineCircleCrossings(TVect p, TVect q, TVect centre, double radius)
{
    std::vector<TVect> points;
    for (double t : LineCircleParameters(p, q, centre, radius, false))
        points.push_back(At(p, q, t));
    return points;
}

std::vector<TVect> SegmentCircleCrossings(TVect p, TVect q, TVect centre, double radius)
{
    std::vector<TVect> points;
    const double slack = REAL_EPSILON / std::max(PointDistance(p, q), REAL_EPSILON);
    for (double t : LineCircleParameters(p, q, centre, radius, true))
        if (t >= -slack && t <= 1.0 + slack)
            points.push_back(At(p, q, std::clamp(t, 0.0, 1.0)));
    return points;
}

std::optional<TLineLineFillet> LineLineFillet(TVect p1, TVect q1, TVect p2, TVect q2, TVect pick1, TVect pick2,
                                              double h)
{
    const TLineEq l1 = LineThrough(p1, q1);
    const TLineEq l2 = LineThrough(p2, q2);
    if (l1.A * l2.B == l2.A * l1.B)
        return std::nullopt;
    const double e1 = SignedDistance(l1, pick2);
    const double e2 = SignedDistance(l2, pick1);
    if (e1 == 0.0 || e2 == 0.0 || !std::isfinite(e1) || !std::isfinite(e2))
        return std::nullopt;
    TLineEq o1 = l1;
    TLineEq o2 = l2;
    o1.C -= std::hypot(l1.A, l1.B) * (e1 > 0.0 ? h : -h);
    o2.C -= std::hypot(l2.A, l2.B) * (e2 > 0.0 ? h : -h);

    TLineLineFillet result;
    result.Centre = Meet(o1, o2);
    result.Corner = Meet(l1, l2);
    result.Tangent1 = Foot(l1, result.Centre);
    result.Tangent2 = Foot(l2, result.Centre);
    result.Angles = ShortArcAngles(result.Centre, result.Tangent1, result.Tangent2);
    result.FirstEnd1 = ReplacesFirstEnd(p1, q1, result.Centre, result.Corner, result.Tangent1);
    result.FirstEnd2 = ReplacesFirstEnd(p2, q2, result.Centre, result.Corner, result.Tangent2);
    return result;
}

std::optional<TLineArcFillet> LineArcFillet(TVect p, TVect q, TVect centre, double radius, TVect pickLine,
                                            TVect pickArc, double filletRadius)
{
    if (EqualPoints(p, q) || !(radius > 0.0))
        return std::nullopt;
    const int circleSide = SideOfCircle(centre, radius, pickLine);
    const int lineSide = CrossProduct(SubVect(pickArc, p), SubVect(q, p)) > 0.0 ? -1 : 1;
    // A pick exactly on the circle leaves the line where it is and grows the circle.
    const int lineSign = circleSide == 0 ? 0 : lineSide;
    const int arcSign = circleSide < 0 ? -1 : 1;

    const TVect u = NormalizeVect(SubVect(q, p));
    const TVect left = {-u.Y, u.X};
    const TVect far0 = {p.X - kLineStretch * u.X, p.Y - kLineStretch * u.Y};
    const TVect far1 = {q.X + kLineStretch * u.X, q.Y + kLineStretch * u.Y};
    const double shift = lineSign * filletRadius;
    const TVect off0 = {far0.X + shift * left.X, far0.Y + shift * left.Y};
    const TVect off1 = {far1.X + shift * left.X, far1.Y + shift * left.Y};
    const double offsetRadius = radius + arcSign * filletRadius;
    if (!(offsetRadius > 0.0))
        return std::nullopt;
    const std::vector<TVect> centres = LineCircleCrossings(off0, off1, centre, offsetRadius);
    if (centres.size() != 2)
        return std::nullopt;
    const TVect middle = MidPoint(pickLine, pickArc);

    TLineArcFillet result;
    result.Centre = Nearer(centres, middle);
    result.LineTangent = ProjectPointOnLine(result.Centre, p, q);
    result.ArcTangent = Towards(centre, radius, result.Centre);
    result.Angles = ShortArcAngles(result.Centre, result.LineTangent, result.ArcTangent);
    const std::vector<TVect> corners = LineCircleCrossings(far0, far1, centre, radius);
    result.Crosses = corners.size() == 2;
    result.Corner = result.Crosses ? Nearer(corners, middle) : ProjectPointOnLine(centre, p, q);
    result.FirstEnd = ReplacesFirstEnd(p, q, result.Centre, result.Corner, result.LineTangent);
    return result;
}

std::optional<TArcArcFillet> ArcArcFillet(TVect centre1, double radius1, TVect centre2, double radius2, TVect pick1,
                                          TVect pick2, double filletRadius)
{
    // A pick on the other circle counts as outside it.
    const bool pick1Inside = SideOfCircle(centre2, radius2, pick1) < 0;
    const bool pick2Inside = SideOfCircle(centre1, radius1, pick2) < 0;
    const double r1 = radius1 + (pick2Inside ? -filletRadius : filletRadius);
    const double r2 = radius2 + (pick1Inside ? -filletRadius : filletRadius);
    TVect a;
    TVect b;
    if (!CircleCrossings(centre1, r1, centre2, r2, a, b))
        return std::nullopt;
    TArcArcFillet result;
    result.Centre = Nearer({a, b}, MidPoint(pick1, pick2));
    result.Tangent1 = Towards(centre1, radius1, result.Centre);
    result.Tangent2 = Towards(centre2, radius2, result.Centre);
    result.Angles = ShortArcAngles(result.Centre, result.Tangent1, result.Tangent2);
    return result;
}

std::vector<TArcAngles> SplitArcAngles(TVect centre, double start, double end, const std::vector<TVect>& cuts)
{
    const double from = Wrap2Pi(start);
    double sweep = Wrap2Pi(end - from);
    if (sweep <= 0.0)
        sweep = kTwoPi;
    // A cut closer to an end than this makes no piece.
    const double margin = 1e-5;
    std::vector<double> offsets;
    for (TVect cut : cuts) {
        const double offset = Wrap2Pi(Angle2Pi(centre, cut) - from);
        if (offset > margin && offset < sweep - margin)
            offsets.push_back(offset);
    }
    std::sort(offsets.begin(), offsets.end());
    offsets.erase(std::unique(offsets.begin(), offsets.end(), [](double x, double y) { return y - x <= 1e-6; }),
                  offsets.end());
    std::vector<TArcAngles> pieces;
    if (offsets.empty())
        return pieces;
    double current = from;
    for (double offset : offsets) {
        const double angle = Wrap2Pi(from + offset);
        pieces.push_back({current, angle});
        current = angle;
    }
    pieces.push_back({current, Wrap2Pi(from + sweep)});
    return pieces;
}

std::vector<TVect> ArcArcCrossings(TVect centre1, double radius1, TArcAngles arc1, TVect centre2, double radius2,
                                   TArcAngles arc2)
{
    TVect a;
    TVect b;
    std::vector<TVect> points;
    if (!CircleCrossings(centre1, radius1, centre2, radius2, a, b))
        return points;
    for (TVect point : {a, b}) {
        if (!points.empty() && EqualPoints(points.front(), point))
            continue;
        if (WithinSweep(centre1, arc1, point) && WithinSweep(centre2, arc2, point))
            points.push_back(point);
    }
    return points;
}

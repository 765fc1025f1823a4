#include "edit/geometry/TangentGeometry.h"

#include <cmath>
#include <numbers>

#include "cad/geometry/VectorHelpers.h"

std::optional<TVect> FootOnLine(TVect p, TVect q, TVect point)
{
    if (EqualPoints(p, q))
        return std::nullopt;
    return ProjectPointOnLine(point, p, q);
}

std::optional<TVect> FootOnCircle(TVect centre, double radius, TVect point)
{
    const TVect d = SubVect(point, centre);
    const double length = std::hypot(d.X, d.Y);
    if (!(length > 0.0))
        return std::nullopt;
    return TVect{centre.X + radius * d.X / length, centre.Y + radius * d.Y / length};
}

TTangentSegment TangentAtAngle(TVect centre, double radius, double length, double degrees, TVect pick)
{
    const double a = degrees * std::numbers::pi / 180.0;
    const TVect q = {centre.X + radius * std::cos(a), centre.Y + radius * std::sin(a)};
    const double b = CrossProduct(SubVect(pick, centre), SubVect(q, centre)) > 0.0 ? a - std::numbers::pi / 2.0
                                                                                    : a + std::numbers::pi / 2.0;
    const TVect t = {centre.X + radius * std::cos(b), centre.Y + radius * std::sin(b)};
    return {{t.X + length * std::cos(a), t.Y + length * std::sin(a)}, t};
}

std::optional<TTangentSegment> TangentToTwoCircles(TVect centre1, double radius1, TVect centre2, double radius2,
                                                   TVect pick1, TVect pick2)
{
    const TVect d = SubVect(centre2, centre1);
    const double distance = std::hypot(d.X, d.Y);
    if (!(distance > REAL_EPSILON))
        return std::nullopt;
    const TVect u = {d.X / distance, d.Y / distance};
    struct TCandidate {
        double H;
        int S1;
        int S2;
    };
    const TCandidate candidates[] = {
        {radius2 - radius1, 1, 1}, {radius2 - radius1, -1, -1}, {radius1 + radius2, -1, 1}, {radius1 + radius2, 1, -1}};
    std::optional<TTangentSegment> best;
    double bestScore = 0.0;
    for (const TCandidate& k : candidates) {
        const double c = k.H / distance;
        // No such tangent: the circles overlap or nest.
        if (!(1.0 - c * c >= 0.0))
            continue;
        const double m = std::sqrt(1.0 - c * c);
        const TVect n = {u.X * m - c * k.S2 * u.Y, m * u.Y + c * k.S2 * u.X};
        const TVect normal = {n.Y, -n.X};
        const TVect t1 = {centre1.X - k.S1 * radius1 * normal.X, centre1.Y - k.S1 * radius1 * normal.Y};
        const TVect t2 = {centre2.X - k.S2 * radius2 * normal.X, centre2.Y - k.S2 * radius2 * normal.Y};
        const double score = PointDistance(t1, pick1) + PointDistance(t2, pick2);
        if (!best || score < bestScore) {
            best = TTangentSegment{t2, t1};
            bestScore = score;
        }
    }
    return best;
}

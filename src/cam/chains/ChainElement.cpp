#include "cam/chains/ChainElement.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "cad/geometry/BulgeArc.h"
#include "cad/geometry/VectorHelpers.h"

TChainElement MakeElement(TVect start, TVect end, double bulge)
{
    TChainElement e;
    e.X1 = start.X;
    e.Y1 = start.Y;
    e.X2 = end.X;
    e.Y2 = end.Y;
    e.Bulge = bulge;
    return e;
}

bool EqualElements(const TChainElement& a, const TChainElement& b)
{
    return EqualPoints(StartPoint(a), StartPoint(b)) && EqualPoints(EndPoint(a), EndPoint(b)) &&
           EqualReals(a.Bulge, b.Bulge);
}

bool BulgeArcParams(const TChainElement& e, TBulgeArc& arc)
{
    if (IsStraight(e))
        return false;
    BulgeArcCentre(e, arc.Centre, arc.Radius);
    const double startAngle = std::atan2(e.Y1 - arc.Centre.Y, e.X1 - arc.Centre.X);
    const double endAngle = std::atan2(e.Y2 - arc.Centre.Y, e.X2 - arc.Centre.X);
    if (e.Bulge > 0.0) {
        arc.Direction = ARC_COUNTER_CLOCKWISE;
        arc.From = startAngle;
        arc.To = endAngle;
    } else {
        arc.Direction = ARC_CLOCKWISE;
        arc.From = endAngle;
        arc.To = startAngle;
    }
    return true;
}

double ElementLength(const TChainElement& e)
{
    TBulgeArc arc;
    if (!BulgeArcParams(e, arc))
        return std::hypot(e.X2 - e.X1, e.Y2 - e.Y1);
    return arc.Radius * SweepAngle(1, arc.From, arc.To);
}

bool ElementShorterThanWorkedOut(const TChainElement& e, double limit)
{
    // The bounds below are relative; far outside this range squares and
    // products lose that precision, so the length is worked out there.
    if (!(limit > 1e-100 && limit < 1e100))
        return ElementLength(e) < limit;
    // A segment the inline test left is near the limit.
    if (IsStraight(e))
        return std::hypot(e.X2 - e.X1, e.Y2 - e.Y1) < limit;
    // An arc is no shorter than its chord. While the bulge keeps the sweep
    // clearly away from 0 and a whole turn, and no coordinate is so large
    // beside the chord that the centre loses its precision, the length
    // worked out from the centre stays within a thousandth of the true one,
    // so a chord of twice the limit settles it without the centre.
    const double bulge = std::abs(e.Bulge);
    if (bulge > 1e-6 && bulge < 1e6) {
        const double dx = e.X2 - e.X1;
        const double dy = e.Y2 - e.Y1;
        const double chord = dx * dx + dy * dy;
        if (chord > 4.0 * limit * limit && chord < 1e200) {
            const double size = std::max({std::abs(e.X1), std::abs(e.Y1), std::abs(e.X2), std::abs(e.Y2)});
            if (size * size <= 1e12 * chord)
                return false;
        }
    }
    // The length is the radius times a sweep in (0, 2pi], both worked out
    // from this centre; the vectors p, q are the ones the sweep's two atan2
    // calls see, counter-clockwise from p to q.
    TVect centre;
    double radius = 0.0;
    BulgeArcCentre(e, centre, radius);
    if (radius * (2.0 * std::numbers::pi) * (1.0 + 1e-9) < limit)
        return true;
    const TVect u{e.X1 - centre.X, e.Y1 - centre.Y};
    const TVect v{e.X2 - centre.X, e.Y2 - centre.Y};
    const TVect p = e.Bulge > 0.0 ? u : v;
    const TVect q = e.Bulge > 0.0 ? v : u;
    // u's length is the radius, bit for bit.
    const double norms = radius * std::sqrt(v.X * v.X + v.Y * v.Y);
    if (norms > 1e-200 && norms < 1e200) {
        const double cross = p.X * q.Y - p.Y * q.X;
        const double dot = p.X * q.X + p.Y * q.Y;
        const double margin = 1e-12 * norms;
        // A lower bound of the sweep, only where the sweep is clearly away
        // from 0 and 2pi, so that rounding cannot wrap it round.
        double sweep = 0.0;
        if (dot < -margin)
            sweep = cross < -margin ? std::numbers::pi : std::numbers::pi / 2.0;
        else if (cross > margin)
            sweep = std::min(cross / norms, 1.0) - 1e-12;
        else if (cross < -margin)
            sweep = std::numbers::pi;
        // 1e-13 covers the rounding of both angles and their difference.
        if (sweep > 0.0 && radius * (sweep - 1e-13) * (1.0 - 1e-12) >= limit)
            return false;
    }
    return ElementLength(e) < limit;
}

TVect StartTangent(const TChainElement& e)
{
    if (IsStraight(e))
        return {e.X2 - e.X1, e.Y2 - e.Y1};
    TVect centre;
    double radius = 0.0;
    BulgeArcCentre(e, centre, radius);
    const TVect r{e.X1 - centre.X, e.Y1 - centre.Y};
    return e.Bulge > 0.0 ? TVect{-r.Y, r.X} : TVect{r.Y, -r.X};
}

double DirectionAngle2Pi(TVect a, TVect b)
{
    return VectDirection2Pi(a, b);
}

void TessellateBulgeArc(const TChainElement& e, TPointList& points)
{
    TessellateBulgeArc2D(StartPoint(e), EndPoint(e), e.Bulge, points);
}

double ChainSignedArea(const TChain& chain)
{
    TPointList points;
    for (const TChainElement& e : chain) {
        if (IsStraight(e))
            points.push_back(StartPoint(e));
        else
            TessellateBulgeArc(e, points);
    }
    if (points.empty())
        return 0.0;
    double sum = 0.0;
    TVect previous = points.back();
    for (const TVect& current : points) {
        sum += previous.X * current.Y - previous.Y * current.X;
        previous = current;
    }
    return sum / 2.0;
}

void ReverseChain(TChain& chain)
{
    std::reverse(chain.begin(), chain.end());
    for (TChainElement& e : chain) {
        std::swap(e.X1, e.X2);
        std::swap(e.Y1, e.Y2);
        e.Bulge = -e.Bulge;
        e.Reserved = 0;
    }
}

bool DropElementsBefore(const TChainElement& element, TChain& list)
{
    const auto found =
        std::find_if(list.begin(), list.end(), [&](const TChainElement& e) { return EqualElements(e, element); });
    if (found == list.end())
        return false;
    list.erase(list.begin(), found);
    return true;
}

TArcSpan ArcSpanOf(const TChainElement& e)
{
    TArcSpan span;
    BulgeArcCentre(e, span.Centre, span.Radius);
    CompleteArcSpan(e, span);
    return span;
}

void CompleteArcSpan(const TChainElement& e, TArcSpan& span)
{
    span.Turn = e.Bulge > 0.0 ? 1 : -1;
    span.StartAngle = std::atan2(e.Y1 - span.Centre.Y, e.X1 - span.Centre.X);
    // The end point's own travel, so that the end point is always inside the span.
    span.Sweep = ArcTravelTo(span, EndPoint(e));
}

double ArcTravelTo(const TArcSpan& span, TVect point)
{
    const double angle = std::atan2(point.Y - span.Centre.Y, point.X - span.Centre.X);
    double travel = span.Turn * (angle - span.StartAngle);
    if (travel < 0.0)
        travel += FULL_TURN;
    if (travel >= FULL_TURN)
        travel -= FULL_TURN;
    return travel;
}

bool ArcSpanContains(const TArcSpan& span, TVect point)
{
    return ArcTravelTo(span, point) <= span.Sweep;
}

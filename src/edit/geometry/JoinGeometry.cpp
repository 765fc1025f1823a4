#include "edit/geometry/JoinGeometry.h"

#include <cmath>

#include "cad/geometry/VectorHelpers.h"

std::optional<TSegmentEnds> JoinLines(TSegmentEnds first, TSegmentEnds second, double tolerance)
{
    const TVect a0 = first.Start;
    const TVect a1 = first.End;
    const auto onLine = [&](TVect p) {
        return EqualRealsEps((p.X - a0.X) * (a1.Y - a0.Y), (a1.X - a0.X) * (p.Y - a0.Y), tolerance);
    };
    if (!onLine(second.Start) || !onLine(second.End))
        return std::nullopt;
    const bool sameWay = VectQuadrant(SubVect(a1, a0)) == VectQuadrant(SubVect(second.End, second.Start));
    if (PointDistance(a1, second.Start) >= PointDistance(a1, second.End))
        return TSegmentEnds{sameWay ? a1 : a0, second.Start};
    return TSegmentEnds{sameWay ? a0 : a1, second.End};
}

bool SameCircle(TVect centre1, double radius1, TVect centre2, double radius2)
{
    return EqualPoints(centre1, centre2) && EqualReals(radius1, radius2);
}

TArcAngles JoinArcs(TVect centre, double radius, TArcAngles first, TArcAngles second)
{
    const auto at = [&](double angle) {
        return TVect{centre.X + radius * std::cos(angle), centre.Y + radius * std::sin(angle)};
    };
    // The gap from one arc's end to the other's start, walked counter-clockwise.
    const auto gap = [&](TArcAngles from, TArcAngles to) {
        if (EqualPoints(at(from.End), at(to.Start)))
            return 0.0;
        double g = std::fmod(to.Start - from.End, FULL_TURN);
        return g < 0.0 ? g + FULL_TURN : g;
    };
    if (gap(second, first) < gap(first, second))
        std::swap(first, second);
    return {first.Start, second.End};
}

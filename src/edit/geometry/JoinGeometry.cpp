#include "edit/geometry/JoinGeometry.h"

#include <algorithm>
#include <array>
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
    // The joined line covers both: it runs from the end furthest back to the
    // end furthest on, measured along the longer line and the way the first
    // one runs, so that neither an overlap nor a slight tilt loses a part.
    const TVect firstWay = SubVect(a1, a0);
    TVect way = SubVect(second.End, second.Start);
    if (DotProduct(firstWay, firstWay) >= DotProduct(way, way))
        way = firstWay;
    else if (DotProduct(way, firstWay) < 0.0)
        way = ScaleVect(way, -1.0);
    const std::array<TVect, 4> ends{a0, a1, second.Start, second.End};
    const auto along = [&](TVect p) { return DotProduct(SubVect(p, a0), way); };
    const auto [back, on] =
        std::minmax_element(ends.begin(), ends.end(), [&](TVect p, TVect q) { return along(p) < along(q); });
    return TSegmentEnds{*back, *on};
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
    // The counter-clockwise turn from one angle to another, in [0, 2pi).
    const auto turn = [](double from, double to) {
        const double t = std::fmod(to - from, FULL_TURN);
        return t < 0.0 ? t + FULL_TURN : t;
    };
    const auto sweep = [&](TArcAngles arc) {
        const double s = turn(arc.Start, arc.End);
        return s == 0.0 ? FULL_TURN : s;
    };
    // An arc that starts on the other, or where the other ends, continues it:
    // the two cover one arc from the other's start.
    const auto continues = [&](TArcAngles arc, TArcAngles other) {
        return turn(other.Start, arc.Start) <= sweep(other) || EqualPoints(at(other.End), at(arc.Start));
    };
    const auto covering = [&](TArcAngles from, TArcAngles then) {
        const double reach = std::max(sweep(from), turn(from.Start, then.Start) + sweep(then));
        return TArcAngles{from.Start, from.Start + std::min(reach, FULL_TURN)};
    };
    if (continues(second, first))
        return covering(first, second);
    if (continues(first, second))
        return covering(second, first);
    // Apart: the arc whose end is nearer the other's start comes first, so
    // that the join bridges the smaller gap whatever the order of the picks.
    if (turn(second.End, first.Start) < turn(first.End, second.Start))
        std::swap(first, second);
    return {first.Start, second.End};
}

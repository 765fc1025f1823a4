#include "edit/geometry/ExtendGeometry.h"

#include <cmath>
#include <numbers>

#include "cad/geometry/VectorHelpers.h"

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

double Sweep(TArcAngles arc)
{
    double sweep = std::fmod(arc.End - arc.Start, kTwoPi);
    if (sweep < 0.0)
        sweep += kTwoPi;
    return sweep;
}

} // namespace

std::optional<TSegmentEnds> ExtendLine(TVect start, TVect end, TVect pick, double length)
{
    if (length == 0.0 || EqualPoints(start, end))
        return std::nullopt;
    const TVect u = NormalizeVect(SubVect(end, start));
    if (PointDistance(start, pick) > PointDistance(end, pick))
        return TSegmentEnds{start, {end.X + length * u.X, end.Y + length * u.Y}};
    return TSegmentEnds{{start.X - length * u.X, start.Y - length * u.Y}, end};
}

std::optional<TArcAngles> ExtendArc(TVect centre, double radius, TArcAngles arc, TVect pick, double length)
{
    const double sweep = Sweep(arc);
    if (length == 0.0 || !(radius > 0.0) || EqualRealsEps(sweep, 0.0, REAL_EPSILON) ||
        EqualRealsEps(sweep, kTwoPi, REAL_EPSILON))
        return std::nullopt;
    double delta = length / radius;
    if (sweep + delta > kTwoPi)
        delta = kTwoPi - sweep;
    // A shortening by the whole sweep or more would turn the arc inside out.
    if (sweep + delta <= REAL_EPSILON)
        return std::nullopt;
    const TVect ps = {centre.X + radius * std::cos(arc.Start), centre.Y + radius * std::sin(arc.Start)};
    const TVect pe = {centre.X + radius * std::cos(arc.End), centre.Y + radius * std::sin(arc.End)};
    if (PointDistance(ps, pick) >= PointDistance(pe, pick))
        return TArcAngles{arc.Start, arc.End + delta};
    return TArcAngles{arc.Start - delta, arc.End};
}

std::optional<std::vector<TVect>> ExtendPolyline(const std::vector<TVect>& points, TVect pick, double length)
{
    const std::size_t n = points.size();
    if (length == 0.0 || n < 2)
        return std::nullopt;
    const auto moved = [length](TVect from, TVect before) -> std::optional<TVect> {
        if (EqualPoints(from, before))
            return std::nullopt;
        const TVect u = NormalizeVect(SubVect(from, before));
        return TVect{from.X + length * u.X, from.Y + length * u.Y};
    };
    std::vector<TVect> result;
    if (PointDistance(points.front(), pick) >= PointDistance(points.back(), pick)) {
        const std::optional<TVect> last = moved(points[n - 1], points[n - 2]);
        if (!last)
            return std::nullopt;
        result.push_back(*last);
        for (std::size_t i = n - 1; i-- > 0;)
            result.push_back(points[i]);
    } else {
        const std::optional<TVect> first = moved(points[0], points[1]);
        if (!first)
            return std::nullopt;
        result.push_back(*first);
        result.insert(result.end(), points.begin() + 1, points.end());
    }
    return result;
}

std::pair<TArcAngles, TArcAngles> HalveArc(TArcAngles arc)
{
    double sweep = Sweep(arc);
    if (sweep <= 0.0)
        sweep = kTwoPi;
    const double middle = arc.Start + sweep / 2.0;
    return {{arc.Start, middle}, {middle, arc.End}};
}

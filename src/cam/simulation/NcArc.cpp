#include "cam/simulation/NcArc.h"

#include <cmath>
#include <numbers>

#include "cam/nc/PostSettings.h"

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// A sweep this close to a whole turn is a full circle.
constexpr double kFullCircleTolerance = 0.001;

} // namespace

TVect TNcArc::PointAt(double fraction) const
{
    const double a = StartAngle + (Clockwise ? -Sweep : Sweep) * fraction;
    return {Centre.X + Radius * std::cos(a), Centre.Y + Radius * std::sin(a)};
}

TVect NcArcCentreFromWords(TVect start, float i, float j, int arcCenter, bool fromFile)
{
    if (fromFile && arcCenter == ARC_CENTER_FROM_START)
        return {start.X + i, start.Y + j};
    if (fromFile && arcCenter == ARC_CENTER_TO_START)
        return {start.X - i, start.Y - j};
    return {i, j};
}

TVect NcArcCentreFromRadius(TVect start, TVect end, double r, bool clockwise)
{
    const double dx = end.X - start.X;
    const double dy = end.Y - start.Y;
    const double chord = std::hypot(dx, dy);
    const TVect mid{(start.X + end.X) / 2.0, (start.Y + end.Y) / 2.0};
    if (chord == 0.0)
        return mid;
    const double h2 = r * r - chord * chord / 4.0;
    const double h = h2 > 0.0 ? std::sqrt(h2) : 0.0;
    // The unit normal to the left of the chord: a counter-clockwise arc of
    // at most half a turn has its centre there.
    const TVect left{-dy / chord, dx / chord};
    const double side = (r > 0.0) != clockwise ? 1.0 : -1.0;
    return {mid.X + side * h * left.X, mid.Y + side * h * left.Y};
}

std::optional<TNcArc> NcArcOfMove(TVect start, TVect end, bool clockwise, float arcR, TVect centre)
{
    if (arcR != 0.0f) {
        if (start.X == end.X && start.Y == end.Y)
            return std::nullopt;
        centre = NcArcCentreFromRadius(start, end, arcR, clockwise);
    }
    TNcArc arc;
    arc.Centre = centre;
    arc.Clockwise = clockwise;
    arc.Radius = std::hypot(start.X - centre.X, start.Y - centre.Y);
    if (!(arc.Radius > 0.0) || !std::isfinite(arc.Radius))
        return std::nullopt;
    arc.StartAngle = std::atan2(start.Y - centre.Y, start.X - centre.X);
    const double endAngle = std::atan2(end.Y - centre.Y, end.X - centre.X);
    // The turn in the arc's own direction, so that a short clockwise arc
    // stays short.
    double sweep = std::fmod(clockwise ? arc.StartAngle - endAngle : endAngle - arc.StartAngle, kTwoPi);
    if (sweep <= 0.0)
        sweep += kTwoPi;
    arc.Sweep = sweep >= kTwoPi - kFullCircleTolerance ? kTwoPi : sweep;
    return arc;
}

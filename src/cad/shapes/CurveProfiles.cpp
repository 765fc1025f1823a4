#include "cad/shapes/CurveProfiles.h"

#include <cmath>

#include "cad/geometry/VectorHelpers.h"

namespace {

TPoint2D PointAt(double x, double y)
{
    return TPoint2D{static_cast<float>(x), static_cast<float>(y), 1.0f};
}

} // namespace

void AppendEllipseProfile(TPointsSet2D& profile, double cx, double cy, double rx, double ry, int n)
{
    const double step = FULL_TURN / n;
    profile.Append(PointAt(cx + rx, cy));
    for (int i = 1; i < n; ++i)
        profile.Append(PointAt(cx + rx * std::cos(i * step), cy - ry * std::sin(i * step)));
    profile.Append(PointAt(cx + rx, cy));
}

double ArcSweep(double startAngle, double endAngle)
{
    double sweep = endAngle - startAngle;
    if (startAngle >= endAngle)
        sweep += FULL_TURN;
    return sweep;
}

void AppendArcProfile(TPointsSet2D& profile, double cx, double cy, double rx, double ry, double startAngle,
                      double endAngle, int n, bool counterClockwise)
{
    const double sign = counterClockwise ? 1.0 : -1.0;
    const double step = ArcSweep(startAngle, endAngle) / (n + 1);
    for (int i = 0; i < n; ++i) {
        const double t = startAngle + i * step;
        profile.Append(PointAt(cx + rx * std::cos(t), cy + sign * ry * std::sin(t)));
    }
    profile.Append(PointAt(cx + rx * std::cos(endAngle), cy + sign * ry * std::sin(endAngle)));
}

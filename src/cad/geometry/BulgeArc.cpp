#include "cad/geometry/BulgeArc.h"

#include <cmath>

#include "cad/geometry/VectorHelpers.h"

void TessellateBulgeArc2D(TVect start, TVect end, double bulge, std::vector<TVect>& points)
{
    if (EqualReals(bulge, 0.0))
        return;
    TVect centre;
    double radius = 0.0;
    BulgeArcCentre2D(start, end, bulge, centre, radius);
    const double startAngle = std::atan2(start.Y - centre.Y, start.X - centre.X);
    const double endAngle = std::atan2(end.Y - centre.Y, end.X - centre.X);
    // Walked counter-clockwise from the lower angle, and stepped back from the
    // upper one for a clockwise arc, so that both directions share one sweep.
    const double from = bulge > 0.0 ? startAngle : endAngle;
    const double to = bulge > 0.0 ? endAngle : startAngle;
    const double sweep = SweepAngle(1, from, to);
    const double step = sweep / BulgeArcTessellationPoints;
    for (int k = 0; k < BulgeArcTessellationPoints - 1; ++k) {
        const double angle = bulge > 0.0 ? from + k * step : to - k * step;
        points.push_back({centre.X + radius * std::cos(angle), centre.Y + radius * std::sin(angle)});
    }
    points.push_back(end);
}

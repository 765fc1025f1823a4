#include "import/BezierFlattening.h"

#include <algorithm>
#include <cmath>

namespace {

// |a - 2b + c|: the size of a second difference of control points.
double SecondDifference(TVect a, TVect b, TVect c)
{
    return std::hypot(a.X - 2.0 * b.X + c.X, a.Y - 2.0 * b.Y + c.Y);
}

int SegmentsFor(double curvatureBound, double tolerance)
{
    const double wanted = std::ceil(std::sqrt(curvatureBound / (8.0 * tolerance)));
    // Written so that NaN (no tolerance, or an infinite curve) takes the most.
    if (!(wanted < kMaxCurveSegments))
        return kMaxCurveSegments;
    return std::max(1, static_cast<int>(wanted));
}

} // namespace

int QuadraticSegments(TVect p0, TVect p1, TVect p2, double tolerance)
{
    // B'' = 2 (p0 - 2 p1 + p2) everywhere.
    return SegmentsFor(2.0 * SecondDifference(p0, p1, p2), tolerance);
}

int CubicSegments(TVect p0, TVect p1, TVect p2, TVect p3, double tolerance)
{
    // B'' = 6 ((1 - t)(p0 - 2 p1 + p2) + t (p1 - 2 p2 + p3)), largest at an end.
    return SegmentsFor(6.0 * std::max(SecondDifference(p0, p1, p2), SecondDifference(p1, p2, p3)), tolerance);
}

void AppendQuadratic(TVect p0, TVect p1, TVect p2, int segments, std::vector<TVect>& points)
{
    for (int i = 1; i < segments; ++i) {
        const double t = static_cast<double>(i) / segments;
        const double s = 1.0 - t;
        points.push_back({s * s * p0.X + 2.0 * s * t * p1.X + t * t * p2.X,
                          s * s * p0.Y + 2.0 * s * t * p1.Y + t * t * p2.Y});
    }
    points.push_back(p2);
}

void AppendCubic(TVect p0, TVect p1, TVect p2, TVect p3, int segments, std::vector<TVect>& points)
{
    for (int i = 1; i < segments; ++i) {
        const double t = static_cast<double>(i) / segments;
        const double s = 1.0 - t;
        const double b0 = s * s * s, b1 = 3.0 * s * s * t, b2 = 3.0 * s * t * t, b3 = t * t * t;
        points.push_back({b0 * p0.X + b1 * p1.X + b2 * p2.X + b3 * p3.X,
                          b0 * p0.Y + b1 * p1.Y + b2 * p2.Y + b3 * p3.Y});
    }
    points.push_back(p3);
}

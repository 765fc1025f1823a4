#include "cad/shapes/BSpline2D.h"

#include <cmath>
#include <vector>

#include "cad/geometry/Geometry2D.h"

namespace {

// Knots of n control points and order k: k zeros, then 1 .. n - k, then
// n - k + 1 repeated.
float Knot(int j, int n, int k)
{
    if (j < k)
        return 0.0f;
    if (j > n - 1)
        return static_cast<float>(n - k + 1);
    return static_cast<float>(j - k + 1);
}

} // namespace

TPoint2D BSplinePoint2D(std::span<const TPoint2D> controlPoints, int order, float t)
{
    const int n = static_cast<int>(controlPoints.size());
    const int k = order;
    // The knot interval holding t: knot(s) <= t < knot(s + 1), with s in
    // [k - 1, n - 1]. The inner knots are the integers 1 .. n - k, so the
    // interval follows from t at once instead of from a walk over n knots.
    int s = k - 1;
    if (t >= 1.0f)
        s = t >= static_cast<float>(n - k) ? n - 1 : k - 1 + static_cast<int>(std::floor(t));
    // Only B(j, m, t) for j in [s - m + 1, s] can be non-zero. Raise the order
    // from 1 to k in place, indexed by j - (s - k + 1); each step reads the
    // entry above it before that one is overwritten.
    const int base = s - k + 1;
    std::vector<float> basis(static_cast<std::size_t>(k) + 1, 0.0f);
    basis[static_cast<std::size_t>(k - 1)] = 1.0f;
    for (int m = 2; m <= k; ++m) {
        for (int j = s - m + 1; j <= s; ++j) {
            const auto i = static_cast<std::size_t>(j - base);
            float value = 0.0f;
            // A term whose denominator is 0 is left out.
            const float d1 = Knot(j + m - 1, n, k) - Knot(j, n, k);
            if (d1 != 0.0f)
                value += (t - Knot(j, n, k)) * basis[i] / d1;
            const float d2 = Knot(j + m, n, k) - Knot(j + 1, n, k);
            if (d2 != 0.0f)
                value += (Knot(j + m, n, k) - t) * basis[i + 1] / d2;
            basis[i] = value;
        }
    }
    float x = 0.0f;
    float y = 0.0f;
    for (int j = base; j <= s; ++j) {
        const TPoint2D p = CartesianPoint2D(controlPoints[static_cast<std::size_t>(j)]);
        const float b = basis[static_cast<std::size_t>(j - base)];
        x += b * p.X;
        y += b * p.Y;
    }
    return MakePoint2D(x, y);
}

TBSpline2D::TBSpline2D() : TCurve2D(0, 0, DefaultSplinePrecision)
{
    Points()->GrowingEnabled = true;
}

TBSpline2D::TBSpline2D(std::int32_t id, std::span<const TPoint2D> controlPoints)
    : TCurve2D(id, static_cast<int>(controlPoints.size()), DefaultSplinePrecision)
{
    InitPoints(controlPoints, true);
}

void TBSpline2D::Assign(const TGraphicObject& other)
{
    if (&other == this)
        return;
    TCurve2D::Assign(other);
    if (const auto* source = dynamic_cast<const TBSpline2D*>(&other)) {
        Order = source->Order;
        CopyPointsFrom(*source, 0, source->PointCount() - 1, true);
    }
}

TRect2D TBSpline2D::BuildProfilePoints()
{
    if (!CanBuildProfile())
        return StartProfile(0);
    const TPointsSet2D& points = *Points();
    const int n = points.Count();
    const int k = Order;
    const std::span<const TPoint2D> control(points.Data(), static_cast<std::size_t>(n));
    if (k < 1 || n < k) {
        StartProfile(n);
        ProfileSet().AddPoints(control);
        return ProfileBox();
    }
    const int precision = CurvePrecision;
    StartProfile(precision + 1);
    TPointsSet2D& profile = ProfileSet();
    // The whole knot range, n - k + 1: for order 3 this is the usual n - 2, and
    // other orders still end at the last control point instead of falling to
    // the origin past their last knot.
    const float range = static_cast<float>(n - k + 1);
    for (int i = 0; i < precision; ++i)
        profile.Append(BSplinePoint2D(control, k, static_cast<float>(i) / static_cast<float>(precision) * range));
    profile.Append(CartesianPoint2D(points[n - 1]));
    return ProfileBox();
}

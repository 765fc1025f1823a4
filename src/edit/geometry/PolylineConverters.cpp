#include "edit/geometry/PolylineConverters.h"

#include <vector>

#include "cad/engine/EngineHooks.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Polyline2D.h"

namespace {

std::unique_ptr<TPolyline2D> WorldPolyline(const std::vector<TPoint2D>& objectPoints, const TTransform2D& t)
{
    std::vector<TPoint2D> points;
    points.reserve(objectPoints.size());
    for (TPoint2D p : objectPoints)
        points.push_back(ApplyTransform2D(p, t));
    return std::make_unique<TPolyline2D>(0, points);
}

} // namespace

std::unique_ptr<TPolyline2D> CurveToPolyline(TCurve2D& curve)
{
    // Splines drawn without a kept profile only have one while it is in use.
    TProfileUse use(curve);
    const TPointsSet2D& profile = curve.ProfilePoints();
    std::vector<TPoint2D> points;
    points.reserve(static_cast<std::size_t>(profile.Count()));
    for (int i = 0; i < profile.Count(); ++i)
        points.push_back(profile[i]);
    return WorldPolyline(points, curve.GetTransform());
}

std::unique_ptr<TPolyline2D> FrameToPolyline(TFrame2D& frame)
{
    const TPoint2D a = (*frame.Points())[0];
    const TPoint2D b = (*frame.Points())[1];
    return WorldPolyline({a, MakePoint2D(a.X, b.Y), b, MakePoint2D(b.X, a.Y), a}, frame.GetTransform());
}

void InstallPolylineConverters()
{
    EngineHooks().CurveToPolyline = [](TCurve2D& curve) { return CurveToPolyline(curve); };
    EngineHooks().FrameToPolyline = [](TFrame2D& frame) { return FrameToPolyline(frame); };
}

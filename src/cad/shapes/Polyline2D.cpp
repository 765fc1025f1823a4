#include "cad/shapes/Polyline2D.h"

#include "cad/geometry/Clipping2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Line2D.h"

TPolyline2D::TPolyline2D() : TOutline2D(0, 0) {}

TPolyline2D::TPolyline2D(std::int32_t id, std::span<const TPoint2D> points)
    : TOutline2D(id, static_cast<int>(points.size()))
{
    InitPoints(points, true);
}

void TPolyline2D::Assign(const TGraphicObject& other)
{
    if (&other == this)
        return;
    TOutline2D::Assign(other);
    const auto* source = dynamic_cast<const TPrimitive2D*>(&other);
    if (dynamic_cast<const TLine2D*>(&other) || dynamic_cast<const TPolyline2D*>(&other))
        CopyPointsFrom(*source, 0, source->PointCount() - 1, true);
}

void TPolyline2D::Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox, int)
{
    const TPointsSet2D& points = *Points();
    points.DrawAsPolyline(canvas, clipBox, points.Extent(), MultiplyTransforms2D(GetTransform(), viewTransform));
}

int TPolyline2D::HitTest(TPoint2D point, float& distance, float aperture) const
{
    const int code = TOutline2D::HitTest(point, distance, aperture);
    if (code != PICK_INBBOX)
        return code;
    float pickDistance = 0.0f;
    const int pick =
        PickPolyline2D(Points()->Data(), PointCount(), point, false, GetTransform(), aperture, pickDistance);
    return MergeOutlinePick(pick, pickDistance, aperture, distance);
}

void TPolygon2D::Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox, int)
{
    const TPointsSet2D& points = *Points();
    points.DrawAsPolygon(canvas, clipBox, points.Extent(), MultiplyTransforms2D(GetTransform(), viewTransform));
}

int TPolygon2D::HitTest(TPoint2D point, float& distance, float aperture) const
{
    const int code = TPolyline2D::HitTest(point, distance, aperture);
    if (code != PICK_INBBOX)
        return code;
    float pickDistance = 0.0f;
    const int pick = PickPolygon2D(Points()->Data(), PointCount(), point, GetTransform(), aperture, pickDistance);
    return MergeOutlinePick(pick, pickDistance, aperture, distance);
}

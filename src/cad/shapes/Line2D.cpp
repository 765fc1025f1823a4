#include "cad/shapes/Line2D.h"

#include "cad/canvas/ClippedDrawing2D.h"
#include "cad/geometry/Clipping2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/ShapeDrawHooks.h"

TLine2D::TLine2D() : TPrimitive2D(0, 2)
{
    Points()->GrowingEnabled = false;
}

TLine2D::TLine2D(std::int32_t id, TPoint2D start, TPoint2D end) : TPrimitive2D(id, 2)
{
    const TPoint2D points[] = {start, end};
    InitPoints(points, false);
}

void TLine2D::Assign(const TGraphicObject& other)
{
    if (&other == this)
        return;
    TPrimitive2D::Assign(other);
    if (const auto* source = dynamic_cast<const TLine2D*>(&other))
        CopyPointsFrom(*source, 0, 1, false);
}

void TLine2D::Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox, int)
{
    if (!HasRequiredPoints())
        return;
    const TPointsSet2D& points = *Points();
    // Most lines have no transform of their own; the view's mapping is then the product.
    if (HasTransform())
        DrawSegment2D(canvas, points[0], points[1], MultiplyTransforms2D(GetTransform(), viewTransform), clipBox);
    else
        DrawSegment2D(canvas, points[0], points[1], viewTransform, clipBox);
    if (const auto& infoLinea = ShapeDrawHooks().InfoLinea)
        infoLinea(points[0], points[1]);
}

int TLine2D::HitTest(TPoint2D point, float& distance, float aperture) const
{
    const int code = TPrimitive2D::HitTest(point, distance, aperture);
    if (code != PICK_INBBOX || !HasRequiredPoints())
        return code;
    float pickDistance = 0.0f;
    const int pick = PickPolyline2D(Points()->Data(), 2, point, false, GetTransform(), aperture, pickDistance);
    return MergeOutlinePick(pick, pickDistance, aperture, distance);
}

#include "cad/shapes/Punto2D.h"

#include "cad/canvas/ClippedDrawing2D.h"
#include "cad/geometry/Clipping2D.h"
#include "cad/geometry/Geometry2D.h"

TPunto2D::TPunto2D() : TPrimitive2D(0, 1)
{
    Points()->GrowingEnabled = false;
}

TPunto2D::TPunto2D(std::int32_t id, TPoint2D point) : TPrimitive2D(id, 1)
{
    const TPoint2D points[] = {point};
    InitPoints(points, false);
}

void TPunto2D::Assign(const TGraphicObject& other)
{
    if (&other == this)
        return;
    TPrimitive2D::Assign(other);
    if (const auto* source = dynamic_cast<const TPunto2D*>(&other))
        CopyPointsFrom(*source, 0, 0, false);
}

void TPunto2D::Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox, int)
{
    if (!HasRequiredPoints())
        return;
    DrawPointMarker2D(canvas, (*Points())[0], clipBox, MultiplyTransforms2D(GetTransform(), viewTransform));
}

int TPunto2D::HitTest(TPoint2D point, float& distance, float aperture) const
{
    const int code = TPrimitive2D::HitTest(point, distance, aperture);
    if (code != PICK_INBBOX || !HasRequiredPoints())
        return code;
    // A single point has no segment to pick: this stays "inside the box".
    float pickDistance = 0.0f;
    const int pick = PickPolyline2D(Points()->Data(), PointCount(), point, false, GetTransform(), aperture,
                                    pickDistance);
    return MergeOutlinePick(pick, pickDistance, aperture, distance);
}

#include "cad/shapes/BoxCurve2D.h"

#include "cad/shapes/Arc2D.h"

TBoxCurve2D::TBoxCurve2D(std::int32_t id) : TCurve2D(id, 2, DefaultPrecision) {}

void TBoxCurve2D::InitCorners(TPoint2D first, TPoint2D second)
{
    const TPoint2D points[] = {first, second};
    InitPoints(points, false);
}

void TBoxCurve2D::Assign(const TGraphicObject& other)
{
    if (&other == this)
        return;
    TCurve2D::Assign(other);
    if (dynamic_cast<const TBoxCurve2D*>(&other) || dynamic_cast<const TArc2D*>(&other))
        CopyPointsFrom(dynamic_cast<const TPrimitive2D&>(other), 0, 1, false);
}

#include "cad/shapes/Frame2D.h"

#include <cmath>

#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/ShapeDrawHooks.h"

TFrame2D::TFrame2D() : TBoxCurve2D(0) {}

TFrame2D::TFrame2D(std::int32_t id, TPoint2D first, TPoint2D second) : TBoxCurve2D(id)
{
    InitCorners(first, second);
}

TRect2D TFrame2D::BuildProfilePoints()
{
    if (!CanBuildProfile())
        return StartProfile(0);
    StartProfile(5);
    const TPoint2D p0 = CartesianPoint2D((*Points())[0]);
    const TPoint2D p1 = CartesianPoint2D((*Points())[1]);
    TPointsSet2D& profile = ProfileSet();
    profile.Append(p0);
    profile.Append(MakePoint2D(p0.X, p1.Y));
    profile.Append(p1);
    profile.Append(MakePoint2D(p1.X, p0.Y));
    profile.Append(p0);
    ShowShapeLabel(nol_stxRettangoloW, std::fabs(static_cast<double>(p1.X) - p0.X));
    ShowShapeLabel(nol_stxRettangoloH, std::fabs(static_cast<double>(p1.Y) - p0.Y));
    return ProfileBox();
}

void TRectangle2D::Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox, int)
{
    DrawProfile(viewTransform, canvas, clipBox, true);
}

int TRectangle2D::HitTest(TPoint2D point, float& distance, float aperture) const
{
    return PickFilledProfile(point, distance, aperture);
}

#include "cad/shapes/Ellipse2D.h"

#include <cmath>

#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/CurveProfiles.h"
#include "cad/shapes/ShapeDrawHooks.h"

TEllipse2D::TEllipse2D() : TBoxCurve2D(0) {}

TEllipse2D::TEllipse2D(std::int32_t id, TPoint2D first, TPoint2D second) : TBoxCurve2D(id)
{
    InitCorners(first, second);
}

TRect2D TEllipse2D::BuildProfilePoints()
{
    if (!CanBuildProfile())
        return StartProfile(0);
    StartProfile(CurvePrecision + 1);
    const TPoint2D p0 = CartesianPoint2D((*Points())[0]);
    const TPoint2D p1 = CartesianPoint2D((*Points())[1]);
    const double cx = (static_cast<double>(p0.X) + p1.X) / 2.0;
    const double cy = (static_cast<double>(p0.Y) + p1.Y) / 2.0;
    const double rx = std::fabs(static_cast<double>(p1.X) - p0.X) / 2.0;
    const double ry = std::fabs(static_cast<double>(p1.Y) - p0.Y) / 2.0;
    ShowShapeLabel(nol_stxEllisseW, 2.0 * rx);
    ShowShapeLabel(nol_stxEllisseH, 2.0 * ry);
    AppendEllipseProfile(ProfileSet(), cx, cy, rx, ry, CurvePrecision);
    return ProfileBox();
}

void TFilledEllipse2D::Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
                            int)
{
    DrawProfile(viewTransform, canvas, clipBox, true);
}

int TFilledEllipse2D::HitTest(TPoint2D point, float& distance, float aperture) const
{
    return PickFilledProfile(point, distance, aperture);
}

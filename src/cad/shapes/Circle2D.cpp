#include "cad/shapes/Circle2D.h"

#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/CurveProfiles.h"
#include "cad/shapes/Ellipse2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/ShapeDrawHooks.h"

TCerchio2D::TCerchio2D() : TCurve2D(0, 2, DefaultPrecision) {}

TCerchio2D::TCerchio2D(std::int32_t id, TPoint2D centre, TPoint2D onCircle) : TCurve2D(id, 2, DefaultPrecision)
{
    const TPoint2D points[] = {centre, onCircle};
    InitPoints(points, false);
}

void TCerchio2D::Assign(const TGraphicObject& other)
{
    if (&other == this)
        return;
    TCurve2D::Assign(other);
    if (dynamic_cast<const TEllipse2D*>(&other) || dynamic_cast<const TFrame2D*>(&other) ||
        dynamic_cast<const TArc2D*>(&other) || dynamic_cast<const TCerchio2D*>(&other))
        CopyPointsFrom(dynamic_cast<const TPrimitive2D&>(other), 0, 1, false);
}

TRect2D TCerchio2D::BuildProfilePoints()
{
    if (!CanBuildProfile())
        return StartProfile(0);
    StartProfile(CurvePrecision + 1);
    const TPoint2D centre = CartesianPoint2D((*Points())[0]);
    const double radius = Point2DDistance(centre, CartesianPoint2D((*Points())[1]));
    ShowShapeLabel(nol_stxRaggio, radius);
    AppendEllipseProfile(ProfileSet(), centre.X, centre.Y, radius, radius, CurvePrecision);
    return ProfileBox();
}

void TFilledCerchio2D::Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
                            int)
{
    DrawProfile(viewTransform, canvas, clipBox, true);
}

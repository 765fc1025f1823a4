#include "cad/shapes/Arc2D.h"

#include <cmath>

#include "cad/geometry/Geometry2D.h"
#include "cad/geometry/VectorHelpers.h"
#include "cad/geometry/VectorMath3.h"
#include "cad/shapes/CurveProfiles.h"
#include "cad/shapes/Ellipse2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/ShapeDrawHooks.h"

namespace {

// Lets the angle setters see a change on their first call.
constexpr float PlaceholderAngle = 999.123f;

} // namespace

TArcCurve2D::TArcCurve2D(std::int32_t id) : TCurve2D(id, 4, DefaultPrecision) {}

void TArcCurve2D::InitArc(TPoint2D first, TPoint2D second, float startAngle, float endAngle)
{
    TPointsSet2D& points = *Points();
    points.SetNotifySuspended(true);
    try {
        const TPoint2D initial[] = {first, second, MakePoint2D(0, 0), MakePoint2D(0, 0)};
        points.AddPoints(initial);
        Direction = 1;
        StartAngleValue = PlaceholderAngle;
        EndAngleValue = PlaceholderAngle;
        SetStartAngle(startAngle);
        SetEndAngle(endAngle);
        if (std::fabs(static_cast<double>(endAngle) - FULL_TURN) < REAL_EPSILON)
            SetEndAngle(0.0f);
    } catch (...) {
        points.SetNotifySuspended(false);
        throw;
    }
    points.SetNotifySuspended(false);
    UpdateExtension();
}

TArcFrame TArcCurve2D::Frame() const
{
    if (PointCount() < 2)
        return {};
    return ComputeFrame(CartesianPoint2D((*Points())[0]), CartesianPoint2D((*Points())[1]));
}

void TArcCurve2D::PlaceAnglePoint(int index, float angle)
{
    if (PointCount() < 4)
        return;
    const TArcFrame f = Frame();
    const double a = angle;
    Points()->SetPoint(index, MakePoint2D(static_cast<float>(f.CX + f.RX * std::cos(a)),
                                          static_cast<float>(f.CY + f.RY * std::sin(a))));
}

void TArcCurve2D::SetStartAngle(float angle)
{
    if (angle == StartAngleValue)
        return;
    StartAngleValue = angle;
    PlaceAnglePoint(2, angle);
    if (PointCount() >= 2)
        ShowDimensions(Frame());
}

void TArcCurve2D::SetEndAngle(float angle)
{
    if (angle == EndAngleValue)
        return;
    EndAngleValue = angle;
    PlaceAnglePoint(3, angle);
    if (PointCount() >= 2)
        ShowDimensions(Frame());
}

TRect2D TArcCurve2D::BuildProfilePoints()
{
    if (!CanBuildProfile())
        return StartProfile(0);
    const TArcFrame f = Frame();
    const bool counterClockwise = Direction != 0;
    if (PointCount() >= 4) {
        // The setters place the angle points by the ellipse's parameter, and
        // the profile runs by it. Read back by their bare direction from the
        // centre, the points of an eccentric arc would give other parameters
        // and the arc would start and end away from its own points. Scaled by
        // the radii they give the parameter back; a point placed by hand gives
        // the parameter whose curve point lies on the ray through it. Circles
        // and flat ellipses keep the bare direction.
        const bool eccentric = f.RX > 0.0 && f.RY > 0.0 && f.RX != f.RY;
        const double scaleX = eccentric ? f.RY : 1.0;
        const double scaleY = eccentric ? f.RX : 1.0;
        const auto angleOf = [&](TPoint2D p) {
            p = CartesianPoint2D(p);
            const double dy = counterClockwise ? p.Y - f.CY : f.CY - p.Y;
            return static_cast<float>(std::atan2(dy * scaleY, (p.X - f.CX) * scaleX));
        };
        StartAngleValue = angleOf((*Points())[2]);
        EndAngleValue = angleOf((*Points())[3]);
    }
    ShowDimensions(f);
    StartProfile(CurvePrecision + 1);
    AppendArcProfile(ProfileSet(), f.CX, f.CY, f.RX, f.RY, StartAngleValue, EndAngleValue, CurvePrecision,
                     counterClockwise);
    const TRect2D whole = MakeRect2D(static_cast<float>(f.CX - f.RX), static_cast<float>(f.CY - f.RY),
                                     static_cast<float>(f.CX + f.RX), static_cast<float>(f.CY + f.RY));
    return TransformBox2D(whole, GetTransform());
}

void TArcCurve2D::CopyArc(const TArcCurve2D& source)
{
    StartAngleValue = source.StartAngleValue;
    EndAngleValue = source.EndAngleValue;
    Direction = source.Direction;
    CopyPointsFrom(source, 0, 3, false);
}

void TArcCurve2D::CopyFullTurn(const TPrimitive2D& source)
{
    CopyPointsFrom(source, 0, 1, true);
    StartAngleValue = 0.0f;
    EndAngleValue = static_cast<float>(FULL_TURN);
    if (PointCount() >= 2) {
        const TArcFrame f = Frame();
        const TPoint2D atZero = MakePoint2D(static_cast<float>(f.CX + f.RX), static_cast<float>(f.CY));
        Points()->Put(2, atZero);
        Points()->Put(3, atZero);
    }
    Points()->GrowingEnabled = false;
    UpdateExtension();
}

TArc2D::TArc2D() : TArcCurve2D(0) {}

TArc2D::TArc2D(std::int32_t id, TPoint2D firstCorner, TPoint2D secondCorner, float startAngle, float endAngle)
    : TArcCurve2D(id)
{
    InitArc(firstCorner, secondCorner, startAngle, endAngle);
}

void TArc2D::Assign(const TGraphicObject& other)
{
    if (&other == this)
        return;
    TArcCurve2D::Assign(other);
    if (const auto* arc = dynamic_cast<const TArc2D*>(&other))
        CopyArc(*arc);
    else if (dynamic_cast<const TEllipse2D*>(&other) || dynamic_cast<const TFrame2D*>(&other))
        CopyFullTurn(dynamic_cast<const TPrimitive2D&>(other));
}

TArcFrame TArc2D::ComputeFrame(TPoint2D first, TPoint2D second) const
{
    return {(static_cast<double>(first.X) + second.X) / 2.0, (static_cast<double>(first.Y) + second.Y) / 2.0,
            std::fabs(static_cast<double>(second.X) - first.X) / 2.0,
            std::fabs(static_cast<double>(second.Y) - first.Y) / 2.0};
}

void TArc2D::ShowDimensions(const TArcFrame& frame) const
{
    if (PointCount() < 4)
        return;
    ShowShapeLabel(nol_stxEllisseW, 2.0 * frame.RX);
    ShowShapeLabel(nol_stxEllisseH, 2.0 * frame.RY);
}

TArco2D::TArco2D() : TArcCurve2D(0) {}

TArco2D::TArco2D(std::int32_t id, TPoint2D centre, TPoint2D onCircle, float startAngle, float endAngle)
    : TArcCurve2D(id)
{
    InitArc(centre, onCircle, startAngle, endAngle);
}

void TArco2D::Assign(const TGraphicObject& other)
{
    if (&other == this)
        return;
    TArcCurve2D::Assign(other);
    // All four points: the angle points are what later code reads back.
    if (const auto* arc = dynamic_cast<const TArco2D*>(&other))
        CopyArc(*arc);
    else if (dynamic_cast<const TEllipse2D*>(&other) || dynamic_cast<const TFrame2D*>(&other))
        CopyFullTurn(dynamic_cast<const TPrimitive2D&>(other));
}

void TArco2D::SetDirection(std::uint8_t direction)
{
    if (direction == Direction)
        return;
    Direction = direction;
    UpdateExtension();
}

TArcFrame TArco2D::ComputeFrame(TPoint2D first, TPoint2D second) const
{
    const double radius = Point2DDistance(first, second);
    return {first.X, first.Y, radius, radius};
}

void TArco2D::ShowDimensions(const TArcFrame& frame) const
{
    ShowShapeLabel(nol_stxArcctptsaeaRaggio, frame.RX);
    if (PointCount() < 4)
        return;
    ShowShapeLabel(nol_stxArcctptsaea_sa, RadToDegExtended(StartAngle()));
    ShowShapeLabel(nol_stxArcctptsaea_Ea, RadToDegExtended(EndAngle()));
}

#include "cam/chains/EntityToElements.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "cad/base/Settings.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/geometry/VectorHelpers.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Curve2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"

namespace {

constexpr double PI = std::numbers::pi;

// Above three quarter turns an arc is cut in two, so that no bulge grows
// towards the infinite tan(pi / 2) of a full circle.
constexpr double LONGEST_SINGLE_SWEEP = 4.71238898;

// In double precision, so that the single-precision matrix is the only rounding.
TVect Transformed(TVect p, const TTransform2D& t)
{
    const auto& m = t.M;
    const double x = p.X * m[0][0] + p.Y * m[1][0] + m[2][0];
    const double y = p.X * m[0][1] + p.Y * m[1][1] + m[2][1];
    const double w = p.X * m[0][2] + p.Y * m[1][2] + m[2][2];
    if (w == 1.0 || w == 0.0)
        return {x, y};
    return {x / w, y / w};
}

TVect WorldPoint(TPoint2D p, const TTransform2D& t)
{
    return Transformed(Point2DToVect(CartesianPoint2D(p)), t);
}

void Append(TChain& list, TVect start, TVect end, double bulge, std::uint8_t layer)
{
    TChainElement e = MakeElement(start, end, bulge);
    e.Layer = layer;
    list.push_back(e);
}

TVect OnCircle(TVect centre, double radius, double angle)
{
    return {centre.X + radius * std::cos(angle), centre.Y + radius * std::sin(angle)};
}

// A transform that mirrors turns every counter-clockwise arc clockwise.
bool Mirrors(const TTransform2D& t)
{
    return Det3x3(t) < 0.0f;
}

// The counter-clockwise span of the arc as its profile draws it, in the
// arc's own coordinates. The angles come back from control points 2 and 3
// as the profile takes them. A clockwise arc (Direction 0) is drawn with its
// Y mirrored about the centre, so its drawn run is the counter-clockwise one
// from the mirrored end angle to the mirrored start angle.
void DrawnArcAngles(const TArco2D& arc, const TArcFrame& frame, double& from, double& to)
{
    const bool counterClockwise = arc.Direction != 0;
    float start = arc.StartAngle();
    float end = arc.EndAngle();
    if (arc.PointCount() >= 4) {
        const auto angleOf = [&](TPoint2D p) {
            p = CartesianPoint2D(p);
            const double dy = counterClockwise ? p.Y - frame.CY : frame.CY - p.Y;
            return static_cast<float>(std::atan2(dy, p.X - frame.CX));
        };
        start = angleOf((*arc.Points())[2]);
        end = angleOf((*arc.Points())[3]);
    }
    if (counterClockwise) {
        from = start;
        to = end;
    } else {
        from = -static_cast<double>(end);
        to = -static_cast<double>(start);
    }
}

} // namespace

void LineToElements(const TLine2D& line, TChain& list)
{
    if (line.PointCount() < 2)
        return;
    const TTransform2D t = line.GetTransform();
    Append(list, WorldPoint((*line.Points())[0], t), WorldPoint((*line.Points())[1], t), 0.0, line.Layer);
}

void PolylineToElements(const TPolyline2D& polyline, TChain& list)
{
    const int count = polyline.PointCount();
    if (count < 2)
        return;
    const TTransform2D t = polyline.GetTransform();
    const TPointsSet2D& points = *polyline.Points();
    const std::size_t firstElement = list.size();
    const TVect first = WorldPoint(points[0], t);
    TVect last = first;
    for (int k = 1; k < count; ++k) {
        const TVect next = WorldPoint(points[k], t);
        if (PointDistance(last, next) <= SystemTol)
            continue;
        Append(list, last, next, 0.0, polyline.Layer);
        last = next;
    }
    // Two vertices enclose nothing: closing them would only run the segment back.
    if (count < 3 || !polyline.IsClosed() || list.size() == firstElement)
        return;
    if (PointDistance(last, first) > SystemTol) {
        Append(list, last, first, 0.0, polyline.Layer);
    } else {
        // Too short to be an element of its own, yet the outline must stay closed.
        list.back().X2 = first.X;
        list.back().Y2 = first.Y;
    }
}

void CircleToElements(const TCerchio2D& circle, TChain& list)
{
    if (circle.PointCount() < 2)
        return;
    const TTransform2D t = circle.GetTransform();
    const TVect centre = WorldPoint((*circle.Points())[0], t);
    const double radius = PointDistance(centre, WorldPoint((*circle.Points())[1], t));
    const TVect right{centre.X + radius, centre.Y};
    const TVect left{centre.X - radius, centre.Y};
    Append(list, right, left, 1.0, circle.Layer);
    Append(list, left, right, 1.0, circle.Layer);
}

void ArcToElements(const TArco2D& arc, TChain& list)
{
    if (arc.PointCount() < 2)
        return;
    const TArcFrame frame = arc.Frame();
    double startAngle = 0.0;
    double endAngle = 0.0;
    DrawnArcAngles(arc, frame, startAngle, endAngle);
    const TTransform2D t = arc.GetTransform();
    const TVect localCentre{frame.CX, frame.CY};
    const TVect centre = Transformed(localCentre, t);
    const double radius = PointDistance(centre, WorldPoint((*arc.Points())[1], t));
    if (arc.HasTransform()) {
        const TVect start = Transformed(OnCircle(localCentre, frame.RX, startAngle), t);
        const TVect end = Transformed(OnCircle(localCentre, frame.RX, endAngle), t);
        startAngle = std::atan2(start.Y - centre.Y, start.X - centre.X);
        endAngle = std::atan2(end.Y - centre.Y, end.X - centre.X);
        // Mirrored, the drawn run goes clockwise from start to end; kept
        // counter-clockwise, the complementary arc would be cut instead.
        if (Mirrors(t))
            std::swap(startAngle, endAngle);
    }
    // Equal angles are the whole circle, as the profile draws them.
    const double sweep = endAngle > startAngle ? endAngle - startAngle : endAngle + FULL_TURN - startAngle;
    const TVect start = OnCircle(centre, radius, startAngle);
    const TVect end = OnCircle(centre, radius, endAngle);
    // Within the equality tolerance an arc stored in single precision at
    // exactly three quarter turns stays one element.
    if (sweep <= LONGEST_SINGLE_SWEEP + REAL_EPSILON) {
        Append(list, start, end, std::tan(sweep / 4.0), arc.Layer);
        return;
    }
    const TVect half = OnCircle(centre, radius, startAngle + PI);
    Append(list, start, half, 1.0, arc.Layer);
    Append(list, half, end, std::tan((sweep - PI) / 4.0), arc.Layer);
}

void FrameToElements(const TFrame2D& frame, TChain& list)
{
    if (frame.PointCount() < 2)
        return;
    const TTransform2D t = frame.GetTransform();
    const TPoint2D p0 = CartesianPoint2D((*frame.Points())[0]);
    const TPoint2D p1 = CartesianPoint2D((*frame.Points())[1]);
    // All four corners go through the transform: a turned frame stays the
    // turned rectangle it is drawn as.
    const TVect corners[] = {WorldPoint(p0, t), WorldPoint(MakePoint2D(p1.X, p0.Y), t), WorldPoint(p1, t),
                             WorldPoint(MakePoint2D(p0.X, p1.Y), t)};
    for (int k = 0; k < 4; ++k)
        Append(list, corners[k], corners[(k + 1) % 4], 0.0, frame.Layer);
}

void CurveToElements(const TCurve2D& curve, TChain& list)
{
    TProfileUse use(curve);
    if (!curve.HasProfile())
        return;
    const int count = curve.ProfilePointCount();
    if (count < 2)
        return;
    const TTransform2D t = curve.GetTransform();
    const TPointsSet2D& profile = curve.ProfilePoints();
    TVect previous = WorldPoint(profile[0], t);
    for (int k = 1; k < count; ++k) {
        const TVect next = WorldPoint(profile[k], t);
        Append(list, previous, next, 0.0, curve.Layer);
        previous = next;
    }
}

TVect PointPosition(const TPunto2D& point)
{
    if (point.PointCount() < 1)
        return {0.0, 0.0};
    return WorldPoint((*point.Points())[0], point.GetTransform());
}

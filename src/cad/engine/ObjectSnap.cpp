#include "cad/engine/ObjectSnap.h"

#include <cmath>
#include <initializer_list>
#include <vector>

#include "cad/engine/EngineGlobals.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/geometry/VectorHelpers.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"
#include "cad/view/ScreenCursor.h"

namespace {

struct TCandidate {
    TPoint2D Point;
    int Cursor;
};

TObjectSnap SnapTo(TPoint2D point, int cursor)
{
    return {cursor, true, point};
}

TObjectSnap NoSnap(int cursor = TObjectSnap::KeepCursor)
{
    return {cursor, false, {}};
}

TPoint2D ControlPoint(const TPrimitive2D& object, int index)
{
    return CartesianPoint2D(ApplyTransform2D(object.Points()->Get(index), object.GetTransform()));
}

TObjectSnap Nearest(TPoint2D point, std::initializer_list<TCandidate> candidates)
{
    std::vector<double> distances;
    for (const TCandidate& c : candidates)
        distances.push_back(Point2DDistance(point, c.Point));
    const TCandidate& best = candidates.begin()[IndexOfMin(distances)];
    return SnapTo(best.Point, best.Cursor);
}

bool OnOrControlPoint(int code)
{
    return code == PICK_ONOBJECT || code >= 0;
}

TPoint2D OnCircle(TPoint2D centre, double radius, double angle)
{
    return MakePoint2D(static_cast<float>(centre.X + radius * std::cos(angle)),
                       static_cast<float>(centre.Y + radius * std::sin(angle)));
}

TObjectSnap SnapToPoint(const TPunto2D& object, TPoint2D, int mode)
{
    if (mode == SNAP_POINT || mode == SNAP_AUTO)
        return SnapTo(ControlPoint(object, 0), crPoint);
    if (mode == SNAP_ENDPOINT || mode == SNAP_MIDPOINT || mode == SNAP_CENTRE)
        return NoSnap(crNoSnap);
    return NoSnap();
}

TObjectSnap SnapToLine(const TLine2D& object, TPoint2D point, int mode)
{
    const TPoint2D first = ControlPoint(object, 0);
    const TPoint2D second = ControlPoint(object, 1);
    const TPoint2D middle = MakePoint2D((first.X + second.X) / 2.0f, (first.Y + second.Y) / 2.0f);
    switch (mode) {
    case SNAP_ENDPOINT:
        // Equal distances take the second end.
        return Point2DDistance(point, first) < Point2DDistance(point, second) ? SnapTo(first, crEndPoint)
                                                                              : SnapTo(second, crEndPoint);
    case SNAP_MIDPOINT: return SnapTo(middle, crMidPoint);
    case SNAP_AUTO:
        return Nearest(point, {{first, crEndPoint}, {second, crEndPoint}, {middle, crMidPoint}});
    default: return NoSnap();
    }
}

TObjectSnap SnapToControlPoint(const TPrimitive2D& object, int code, int mode)
{
    if ((mode == SNAP_ENDPOINT || mode == SNAP_AUTO) && code < object.PointCount())
        return SnapTo(ControlPoint(object, code), crEndPoint);
    return NoSnap();
}

TObjectSnap SnapToCircle(const TCerchio2D& object, TPoint2D point, int mode)
{
    const TPoint2D centre = ControlPoint(object, 0);
    const double radius = Point2DDistance(centre, ControlPoint(object, 1));
    const TPoint2D right = OnCircle(centre, radius, 0.0);
    const TPoint2D left = OnCircle(centre, -radius, 0.0);
    switch (mode) {
    case SNAP_ENDPOINT: return SnapTo(right, crEndPoint);
    case SNAP_MIDPOINT: return SnapTo(left, crMidPoint);
    case SNAP_CENTRE: return SnapTo(centre, crCentre);
    case SNAP_AUTO: return Nearest(point, {{centre, crCentre}, {right, crEndPoint}, {left, crMidPoint}});
    default: return NoSnap();
    }
}

// Where the arc's outline starts (index 2) or ends (3): on the circle towards
// that control point, through the object's transform, so that a rotated or
// mirrored arc snaps where it is drawn. Without the point, at the stored angle.
TPoint2D ArcEnd(const TArco2D& arc, int index, float angle)
{
    const TPoint2D centre = CartesianPoint2D(arc.Points()->Get(0));
    const double radius = Point2DDistance(centre, arc.Points()->Get(1));
    TPoint2D local = OnCircle(centre, radius, angle);
    if (arc.PointCount() > index) {
        const TPoint2D p = CartesianPoint2D(arc.Points()->Get(index));
        const double distance = Point2DDistance(centre, p);
        if (distance > 0.0)
            local = MakePoint2D(static_cast<float>(centre.X + radius * (p.X - centre.X) / distance),
                                static_cast<float>(centre.Y + radius * (p.Y - centre.Y) / distance));
    }
    return CartesianPoint2D(ApplyTransform2D(local, arc.GetTransform()));
}

TObjectSnap SnapToArc(const TArco2D& object, TPoint2D point, int mode)
{
    const TPoint2D centre = ControlPoint(object, 0);
    const TPoint2D start = ArcEnd(object, 2, object.StartAngle());
    const TPoint2D end = ArcEnd(object, 3, object.EndAngle());
    switch (mode) {
    case SNAP_ENDPOINT:
        // Equal distances take the end point.
        return Point2DDistance(point, start) < Point2DDistance(point, end) ? SnapTo(start, crEndPoint)
                                                                            : SnapTo(end, crEndPoint);
    case SNAP_CENTRE: return SnapTo(centre, crCentre);
    case SNAP_AUTO: return Nearest(point, {{centre, crCentre}, {start, crEndPoint}, {end, crEndPoint}});
    default: return NoSnap();
    }
}

} // namespace

TObjectSnap SnapToObject(const TObject2D* picked, int code, TPoint2D point, int snapMode)
{
    point = CartesianPoint2D(point);
    const auto* primitive = dynamic_cast<const TPrimitive2D*>(picked);
    // A shape read without its control points cannot be snapped to.
    if (!primitive || !primitive->HasRequiredPoints() || primitive->PointCount() == 0)
        return NoSnap(crNoSnap);
    if (const auto* object = dynamic_cast<const TPunto2D*>(picked))
        return OnOrControlPoint(code) ? SnapToPoint(*object, point, snapMode) : NoSnap(crNoSnap);
    if (const auto* object = dynamic_cast<const TLine2D*>(picked))
        return OnOrControlPoint(code) ? SnapToLine(*object, point, snapMode) : NoSnap(crNoSnap);
    if (const auto* object = dynamic_cast<const TPolyline2D*>(picked))
        return code >= 0 ? SnapToControlPoint(*object, code, snapMode) : NoSnap(crNoSnap);
    if (const auto* object = dynamic_cast<const TCerchio2D*>(picked))
        return OnOrControlPoint(code) ? SnapToCircle(*object, point, snapMode) : NoSnap(crNoSnap);
    if (const auto* object = dynamic_cast<const TArco2D*>(picked))
        return OnOrControlPoint(code) ? SnapToArc(*object, point, snapMode) : NoSnap(crNoSnap);
    if (const auto* object = dynamic_cast<const TCurve2D*>(picked))
        return code >= 0 ? SnapToControlPoint(*object, code, snapMode) : NoSnap(crNoSnap);
    return NoSnap(crNoSnap);
}

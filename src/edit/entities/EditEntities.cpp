#include "edit/entities/EditEntities.h"

#include <cmath>

#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/geometry/VectorHelpers.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/view/CADViewport2DCore.h"
#include "edit/geometry/PolylineConverters.h"
#include "edit/geometry/TangentGeometry.h"

namespace {

TPoint2D ToPoint(TVect v) { return MakePoint2D(static_cast<float>(v.X), static_cast<float>(v.Y)); }

template <class T>
T& AddOnLayer(TCADCmp2D& drawing, std::unique_ptr<T> object, std::uint8_t layer)
{
    T& added = static_cast<T&>(*drawing.AddObject(-1, std::move(object)));
    added.Layer = layer;
    return added;
}

std::vector<TVect> PolylinePoints(const TPolyline2D& polyline) { return WorldPoints(polyline); }

} // namespace

TVect WorldPoint(const TPrimitive2D& primitive, int index)
{
    const TPoint2D p = CartesianPoint2D(ApplyTransform2D((*primitive.Points())[index], primitive.GetTransform()));
    return {p.X, p.Y};
}

std::vector<TVect> WorldPoints(const TPrimitive2D& primitive)
{
    std::vector<TVect> points;
    for (int i = 0; i < primitive.PointCount(); ++i)
        points.push_back(WorldPoint(primitive, i));
    return points;
}

TCircleArc ArcOf(const TArco2D& arc)
{
    TCircleArc result;
    result.Centre = WorldPoint(arc, 0);
    result.Radius = PointDistance(result.Centre, WorldPoint(arc, 1));
    float start = arc.StartAngle();
    float end = arc.EndAngle();
    if (arc.HasTransform()) {
        const TArcFrame frame = arc.Frame();
        TransformArcAngles2D(MakePoint2D(static_cast<float>(frame.CX), static_cast<float>(frame.CY)),
                             arc.GetTransform(), start, end, static_cast<float>(frame.RX));
    }
    result.Angles = {start, end};
    return result;
}

TCircleArc CircleOf(const TCerchio2D& circle)
{
    TCircleArc result;
    result.Centre = WorldPoint(circle, 0);
    result.Radius = PointDistance(result.Centre, WorldPoint(circle, 1));
    return result;
}

std::optional<TCircleArc> CircleOfEntity(const TObject2D* object)
{
    if (const auto* arc = dynamic_cast<const TArco2D*>(object))
        return ArcOf(*arc);
    if (const auto* circle = dynamic_cast<const TCerchio2D*>(object))
        return CircleOf(*circle);
    return std::nullopt;
}

TVect PointOnArc(const TCircleArc& arc, double angle)
{
    return {arc.Centre.X + arc.Radius * std::cos(angle), arc.Centre.Y + arc.Radius * std::sin(angle)};
}

std::unique_ptr<TLine2D> NewLine(TVect start, TVect end)
{
    return std::make_unique<TLine2D>(-1, ToPoint(start), ToPoint(end));
}

std::unique_ptr<TPolyline2D> NewPolyline(const std::vector<TVect>& points)
{
    std::vector<TPoint2D> converted;
    for (TVect p : points)
        converted.push_back(ToPoint(p));
    return std::make_unique<TPolyline2D>(-1, converted);
}

TLine2D& AddLine(TCADCmp2D& drawing, TVect start, TVect end, std::uint8_t layer)
{
    return AddOnLayer(drawing, NewLine(start, end), layer);
}

TArco2D& AddArc(TCADCmp2D& drawing, TVect centre, double radius, TArcAngles angles, std::uint8_t layer)
{
    const TPoint2D onCircle = MakePoint2D(static_cast<float>(centre.X + radius), static_cast<float>(centre.Y));
    return AddOnLayer(drawing,
                      std::make_unique<TArco2D>(-1, ToPoint(centre), onCircle, static_cast<float>(angles.Start),
                                                static_cast<float>(angles.End)),
                      layer);
}

TPolyline2D& AddPolyline(TCADCmp2D& drawing, const std::vector<TVect>& points, std::uint8_t layer)
{
    return AddOnLayer(drawing, NewPolyline(points), layer);
}

void SetWorldPoints(TPrimitive2D& primitive, const std::vector<TVect>& points)
{
    primitive.ResetTransform();
    TPointsSet2D& set = *primitive.Points();
    set.SetNotifySuspended(true);
    for (std::size_t i = 0; i < points.size() && static_cast<int>(i) < set.Count(); ++i)
        set.Put(static_cast<int>(i), ToPoint(points[i]));
    set.SetNotifySuspended(false);
    primitive.UpdateExtension();
}

void SetWorldArc(TArco2D& arc, const TCircleArc& world)
{
    arc.ResetTransform();
    TPointsSet2D& set = *arc.Points();
    set.SetNotifySuspended(true);
    set.Put(0, ToPoint(world.Centre));
    set.Put(1, ToPoint({world.Centre.X + world.Radius, world.Centre.Y}));
    set.SetNotifySuspended(false);
    // The angle points are placed again from the new centre and radius.
    arc.SetStartAngle(static_cast<float>(world.Angles.Start) + 1.0f);
    arc.SetEndAngle(static_cast<float>(world.Angles.End) + 1.0f);
    arc.SetStartAngle(static_cast<float>(world.Angles.Start));
    arc.SetEndAngle(static_cast<float>(world.Angles.End));
    arc.UpdateExtension();
}

TArco2D& ReplaceCircleByArc(TCADCmp2D& drawing, TCerchio2D& circle)
{
    const TCircleArc whole = CircleOf(circle);
    const std::uint8_t layer = circle.Layer;
    const std::int32_t id = circle.ID;
    TArco2D& arc = AddArc(drawing, whole.Centre, whole.Radius, {0.0, 0.0}, layer);
    drawing.DeleteObject(id);
    return arc;
}

TObject2D& ReplaceObject(TCADCmp2D& drawing, TObject2D& old, std::unique_ptr<TObject2D> replacement)
{
    const std::int32_t id = old.ID;
    const std::uint8_t layer = old.Layer;
    drawing.RemoveObject(id).reset();
    TObject2D& added = *drawing.AddObject(id, std::move(replacement));
    added.Layer = layer;
    return added;
}

bool AddArcPieces(TCADCmp2D& drawing, const TCircleArc& arc, const std::vector<TArcAngles>& pieces,
                  std::uint8_t layer)
{
    for (const TArcAngles& piece : pieces)
        AddArc(drawing, arc.Centre, arc.Radius, piece, layer);
    return !pieces.empty();
}

std::vector<TVect> RunOf(TObject2D& object)
{
    if (auto* line = dynamic_cast<TLine2D*>(&object))
        return WorldPoints(*line);
    if (auto* frame = dynamic_cast<TFrame2D*>(&object))
        return PolylinePoints(*FrameToPolyline(*frame));
    if (auto* polyline = dynamic_cast<TPolyline2D*>(&object)) {
        std::vector<TVect> points = PolylinePoints(*polyline);
        if (polyline->IsClosed() && points.size() > 1 && !EqualPoints(points.front(), points.back()))
            points.push_back(points.front());
        return points;
    }
    if (auto* curve = dynamic_cast<TCurve2D*>(&object))
        return PolylinePoints(*CurveToPolyline(*curve));
    return {};
}

std::optional<TVect> NearestOnEntity(TObject2D& object, TVect point)
{
    if (auto* line = dynamic_cast<TLine2D*>(&object)) {
        const std::vector<TVect> ends = WorldPoints(*line);
        return FootOnLine(ends[0], ends[1], point);
    }
    if (auto* arc = dynamic_cast<TArco2D*>(&object)) {
        const TCircleArc whole = ArcOf(*arc);
        return FootOnCircle(whole.Centre, whole.Radius, point);
    }
    if (auto* circle = dynamic_cast<TCerchio2D*>(&object)) {
        const TCircleArc whole = CircleOf(*circle);
        return FootOnCircle(whole.Centre, whole.Radius, point);
    }
    return std::nullopt;
}

void MarkPoint(TCADViewport2DCore* view, TVect point)
{
    if (!view)
        return;
    const TRect2D& visible = view->VisualRect();
    const double half = (static_cast<double>(visible.SecondEdge.X) - visible.FirstEdge.X) / 150.0;
    TArc2D mark(-1, ToPoint({point.X - half, point.Y - half}), ToPoint({point.X + half, point.Y + half}), 0.0f,
                0.0f);
    view->DrawObject2DWithRubber(mark, false);
}

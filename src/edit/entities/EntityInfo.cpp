#include "edit/entities/EntityInfo.h"

#include <charconv>
#include <cmath>
#include <numbers>

#include "cad/base/Settings.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/EngineHooks.h"
#include "cad/engine/SelectObjectsParam.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/BSpline2D.h"
#include "cad/shapes/Block2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Container2D.h"
#include "cad/shapes/Ellipse2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/JustifiedVectText2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"
#include "cad/shapes/ShapeDrawHooks.h"
#include "cad/view/CADViewport2DCore.h"

namespace {

constexpr double kRadToDeg = 180.0 / std::numbers::pi;

std::string Msg(int message)
{
    return PromptText(message);
}

std::string Pair(const std::string& xPrefix, double x, const std::string& yPrefix, double y)
{
    return xPrefix + InfoNumber(x) + yPrefix + InfoNumber(y);
}

std::string Coordinates(TPoint2D p)
{
    return Pair("X:", p.X, " Y:", p.Y);
}

std::string Counted(int message, long long count)
{
    return Msg(message) + " " + std::to_string(count);
}

TPoint2D World(const TObject2D& object, TPoint2D p)
{
    return ApplyTransform2D(p, object.GetTransform());
}

TPoint2D ControlPoint(const TPrimitive2D& primitive, int index)
{
    return World(primitive, (*primitive.Points())[index]);
}

void AddPointNode(TInfoNode& root, int message, TPoint2D p)
{
    root.Add(Msg(message)).Add(Coordinates(p));
}

void AddBox(TInfoNode& root, const TRect2D& box)
{
    TInfoNode& node = root.Add(Msg(166));
    node.Add(Pair(Msg(167), box.FirstEdge.X, ", Y:", box.FirstEdge.Y));
    node.Add(Pair(Msg(168), box.SecondEdge.X, ", Y:", box.SecondEdge.Y));
}

void AddLayer(TInfoNode& root, const TObject2D& object)
{
    root.Add(Counted(133, object.Layer));
}

// The arc's centre, radius and angles as the view shows them.
void AddArc(TInfoNode& root, const TArco2D& arc)
{
    const TArcFrame frame = arc.Frame();
    const TPoint2D centre = MakePoint2D(static_cast<float>(frame.CX), static_cast<float>(frame.CY));
    const TPoint2D worldCentre = World(arc, centre);
    const TPoint2D rim = World(arc, MakePoint2D(static_cast<float>(frame.CX + frame.RX), centre.Y));
    float start = arc.StartAngle();
    float end = arc.EndAngle();
    if (arc.HasTransform())
        TransformArcAngles2D(centre, arc.GetTransform(), start, end, static_cast<float>(frame.RX));
    root.Add(Msg(151)).Add(Coordinates(worldCentre));
    root.Add(Msg(152) + InfoNumber(2.0 * Point2DDistance(worldCentre, rim)));
    root.Add(Msg(153) + InfoNumber(start * kRadToDeg));
    root.Add(Msg(154) + InfoNumber(end * kRadToDeg));
}

int ChildCount(const TContainer2D& container)
{
    return container.Objects().Count();
}

} // namespace

std::string InfoNumber(double value)
{
    const int decimals = UnitsMode == 1 ? 4 : 3;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

std::unique_ptr<TInfoNode> EntityInfoTree(const TObject2D& object)
{
    auto tree = std::make_unique<TInfoNode>();
    TInfoNode& root = *tree;
    if (const auto* line = dynamic_cast<const TLine2D*>(&object)) {
        root.Text = Msg(130);
        AddPointNode(root, 131, ControlPoint(*line, 0));
        AddPointNode(root, 132, ControlPoint(*line, 1));
        AddLayer(root, object);
    } else if (const auto* point = dynamic_cast<const TPunto2D*>(&object)) {
        root.Text = Msg(120);
        AddPointNode(root, 121, ControlPoint(*point, 0));
        AddLayer(root, object);
    } else if (const auto* frame = dynamic_cast<const TFrame2D*>(&object)) {
        root.Text = Msg(140);
        AddPointNode(root, 141, ControlPoint(*frame, 0));
        AddPointNode(root, 142, ControlPoint(*frame, 1));
        AddLayer(root, object);
    } else if (const auto* arc = dynamic_cast<const TArco2D*>(&object)) {
        root.Text = Msg(150);
        AddArc(root, *arc);
        AddLayer(root, object);
    } else if (const auto* circle = dynamic_cast<const TCerchio2D*>(&object)) {
        root.Text = Msg(160);
        const TPoint2D centre = ControlPoint(*circle, 0);
        root.Add(Msg(151)).Add(Coordinates(centre));
        root.Add(Msg(152) + InfoNumber(2.0 * Point2DDistance(centre, ControlPoint(*circle, 1))));
        AddLayer(root, object);
    } else if (dynamic_cast<const TEllipse2D*>(&object)) {
        root.Text = Msg(165);
        AddBox(root, object.Box);
        AddLayer(root, object);
    } else if (const auto* polyline = dynamic_cast<const TPolyline2D*>(&object)) {
        root.Text = Msg(164);
        AddBox(root, object.Box);
        AddLayer(root, object);
        root.Add(Counted(169, polyline->PointCount()));
    } else if (const auto* spline = dynamic_cast<const TBSpline2D*>(&object)) {
        root.Text = Msg(163);
        AddBox(root, object.Box);
        AddLayer(root, object);
        root.Add(Counted(170, spline->PointCount()));
    } else if (const auto* container = dynamic_cast<const TContainer2D*>(&object)) {
        root.Text = Msg(162);
        AddBox(root, object.Box);
        AddLayer(root, object);
        root.Add(Counted(171, ChildCount(*container)));
    } else if (const auto* block = dynamic_cast<const TBlock2D*>(&object)) {
        root.Text = Msg(162);
        AddBox(root, object.Box);
        AddLayer(root, object);
        root.Add(Counted(171, block->SourceBlock() ? ChildCount(*block->SourceBlock()) : 0));
    } else {
        return nullptr;
    }
    return tree;
}

std::vector<TPoint2D> EndPointMarkers(TCADCmp2D& drawing)
{
    std::vector<TPoint2D> markers;
    std::unique_ptr<TGraphicObjIterator> iterator = drawing.ObjectsIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        if (!object->Visible || !drawing.Layers().GetLayer(object->Layer).Visible)
            continue;
        auto* primitive = dynamic_cast<TPrimitive2D*>(object);
        if (primitive == nullptr || primitive->Points() == nullptr)
            continue;
        const int count = primitive->PointCount();
        const auto mark = [&](int index) {
            if (index >= 0 && index < count)
                markers.push_back(ControlPoint(*primitive, index));
        };
        if (dynamic_cast<TLine2D*>(object) || dynamic_cast<TCerchio2D*>(object)) {
            mark(0);
            mark(1);
        } else if (dynamic_cast<TArco2D*>(object)) {
            // Points 2 and 3 lie on the circle at the start and end angle.
            mark(2);
            mark(3);
        } else if (dynamic_cast<TPolyline2D*>(object) && count > 0) {
            mark(0);
            mark(count - 1);
        }
    }
    return markers;
}

TInfoNode DrawingSummaryTree(TCADCmp2D& drawing)
{
    long long points = 0, lines = 0, frames = 0, arcs = 0, ellipses = 0, polylines = 0, splines = 0, groups = 0,
              texts = 0, hidden = 0;
    {
        std::unique_ptr<TGraphicObjIterator> iterator = drawing.ObjectsIterator();
        for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
            if (!object->Visible)
                continue;
            if (!drawing.Layers().GetLayer(object->Layer).Visible)
                ++hidden;
            else if (dynamic_cast<TLine2D*>(object))
                ++lines;
            else if (dynamic_cast<TPunto2D*>(object))
                ++points;
            if (dynamic_cast<TFrame2D*>(object))
                ++frames;
            else if (dynamic_cast<TArco2D*>(object) || dynamic_cast<TCerchio2D*>(object))
                ++arcs;
            else if (dynamic_cast<TEllipse2D*>(object) || dynamic_cast<TArc2D*>(object))
                ++ellipses;
            else if (dynamic_cast<TPolyline2D*>(object))
                ++polylines;
            else if (dynamic_cast<TBSpline2D*>(object))
                ++splines;
            else if (dynamic_cast<TContainer2D*>(object) || dynamic_cast<TBlock2D*>(object))
                ++groups;
            else if (dynamic_cast<TJustifiedVectText2D*>(object))
                ++texts;
        }
    }
    TRect2D extent{};
    if (!drawing.GetExtension(extent) || extent.FirstEdge.X > extent.SecondEdge.X)
        extent = TRect2D{MakePoint2D(0, 0), MakePoint2D(0, 0)};

    TInfoNode root{Msg(195), {}};
    AddBox(root, extent);
    root.Add(Counted(187, points));
    root.Add(Counted(188, lines));
    if (frames > 0)
        root.Add(Counted(194, frames));
    root.Add(Counted(189, arcs));
    root.Add(Counted(192, ellipses));
    root.Add(Counted(191, polylines));
    root.Add(Counted(163, splines));
    if (groups > 0)
        root.Add(Counted(193, groups));
    if (texts > 0)
        root.Add(Counted(196, texts));
    if (hidden > 0)
        root.Add(Counted(197, hidden));
    return root;
}

TSegmentReadout MeasureSegment(TPoint2D a, TPoint2D b)
{
    TSegmentReadout r;
    r.Dx = static_cast<double>(b.X) - a.X;
    r.Dy = static_cast<double>(b.Y) - a.Y;
    r.Length = std::hypot(r.Dx, r.Dy);
    r.Angle = std::atan2(r.Dy, r.Dx) * kRadToDeg;
    if (r.Angle < 0)
        r.Angle += 360.0;
    if (r.Angle >= 360.0)
        r.Angle = 0.0;
    return r;
}

TInfoOutput& InfoOutput()
{
    static TInfoOutput output;
    return output;
}

void InfoLinea(TPoint2D a, TPoint2D b)
{
    if (!InfoOutput().ShowLine)
        return;
    const TSegmentReadout r = MeasureSegment(a, b);
    InfoOutput().ShowLine({InfoNumber(r.Dx), InfoNumber(r.Dy), InfoNumber(r.Length), InfoNumber(r.Angle)});
}

void InfoDistanza(TPoint2D a, TPoint2D b)
{
    if (!InfoOutput().ShowDistance)
        return;
    const TSegmentReadout r = MeasureSegment(a, b);
    InfoOutput().ShowDistance({InfoNumber(a.X), InfoNumber(a.Y), InfoNumber(b.X), InfoNumber(b.Y), InfoNumber(r.Dx),
                               InfoNumber(r.Dy), InfoNumber(r.Length), InfoNumber(r.Angle)});
}

void InstallInfoReadouts()
{
    ShapeDrawHooks().InfoLinea = [](TPoint2D a, TPoint2D b) { InfoLinea(a, b); };
    EngineHooks().InfoDistanza = [](TPoint2D a, TPoint2D b) { InfoDistanza(a, b); };
}

TMySelInfo::TMySelInfo(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TCAD2DState(engine, std::move(param), nextState)
{
    auto& selection = RequireParam<TCAD2DSelectObjectsParam>("TMySelInfo: Invalid param");
    TObject2D* last = nullptr;
    {
        std::unique_ptr<TGraphicObjIterator> iterator = selection.SelectedObjects.GetIterator();
        for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
            last = static_cast<TObject2D*>(object);
            const std::unique_ptr<TInfoNode> tree = EntityInfoTree(*last);
            if (tree && InfoOutput().ShowTree)
                InfoOutput().ShowTree(*tree);
        }
    }
    Cancel(nextState);
    if (Prg2D().Viewport2D() != nullptr) {
        View().InvalidateView();
        if (last != nullptr)
            View().DrawObject2DWithRubber(*last, true);
    }
}

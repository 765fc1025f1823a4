#include "edit/entities/SelectionOps.h"

#include <cmath>
#include <memory>
#include <utility>

#include "cad/drawing/CADCmp2D.h"
#include "cad/drawing/Layers.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/ClassRegistry.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Bitmap2D.h"
#include "cad/shapes/Block2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Container2D.h"
#include "cad/shapes/Frame2D.h"
#include "cad/shapes/Line2D.h"
#include "cad/shapes/Polyline2D.h"
#include "cad/shapes/Punto2D.h"
#include "edit/geometry/Offset.h"
#include "edit/geometry/PolylineConverters.h"

namespace {

constexpr int MSG_EXPLODE_NOTHING = 300;
constexpr int MSG_EXPLODE_OBJECTS = 301;
constexpr int MSG_EXPLODE_LINES = 302;
constexpr int MSG_EXPLODE_CIRCLES = 303;
constexpr int MSG_EXPLODE_POLYLINES = 304;
constexpr int MSG_SIMPLIFY_BEFORE = 312;
constexpr int MSG_SIMPLIFY_AFTER = 313;
constexpr int MSG_SMALL_FOUND = 409;
constexpr int MSG_SMALL_DELETED = 411;

using TPieces = std::vector<std::unique_ptr<TObject2D>>;

TPoint2D Cartesian(TPoint2D p, const TTransform2D& t)
{
    return CartesianPoint2D(ApplyTransform2D(p, t));
}

std::vector<TPoint2D> WorldPoints(const TPrimitive2D& object, const TTransform2D& t)
{
    std::vector<TPoint2D> points;
    for (int i = 0; i < object.PointCount(); ++i)
        points.push_back(Cartesian((*object.Points())[i], t));
    return points;
}

void AddLines(std::span<const TPoint2D> points, TPieces& pieces, TExplodeCounts& counts)
{
    for (std::size_t i = 1; i < points.size(); ++i) {
        pieces.push_back(std::make_unique<TLine2D>(0, points[i - 1], points[i]));
        ++counts.Lines;
    }
}

// A copy of any object with the transform composed and baked in.
std::unique_ptr<TObject2D> BakedCopy(const TObject2D& child, const TTransform2D& outer)
{
    std::unique_ptr<TGraphicObject> made = CADCoreFindClassByName(child.ClassName()).Create();
    auto copy = std::unique_ptr<TObject2D>(dynamic_cast<TObject2D*>(made.release()));
    if (!copy)
        return nullptr;
    copy->Assign(child);
    copy->ComposeTransform(outer);
    copy->BakeTransform();
    return copy;
}

std::unique_ptr<TArco2D> TransformedArc(const TArco2D& arc, const TTransform2D& t, bool hasTransform)
{
    const TPoint2D centre = (*arc.Points())[0];
    const TPoint2D onCircle = (*arc.Points())[1];
    const float radius = static_cast<float>(Point2DDistance(centre, onCircle));
    float start = arc.StartAngle();
    float end = arc.EndAngle();
    if (hasTransform)
        TransformArcAngles2D(centre, t, start, end, radius);
    // A mirroring transform turns the arc clockwise: the same arc runs
    // counter-clockwise from its other end.
    const bool mirrored = t.M[0][0] * t.M[1][1] - t.M[0][1] * t.M[1][0] < 0.0f;
    if (hasTransform && mirrored)
        std::swap(start, end);
    const TPoint2D c = Cartesian(centre, t);
    const TPoint2D r = Cartesian(MakePoint2D(centre.X + radius, centre.Y), t);
    const float worldRadius = static_cast<float>(Point2DDistance(c, r));
    auto made = std::make_unique<TArco2D>(0, c, MakePoint2D(c.X + worldRadius, c.Y), start, end);
    made->SetDirection(arc.Direction);
    return made;
}

// The pieces of one child of a container or block; t is the child's own
// transform followed by the holder's.
void ChildPieces(const TObject2D& child, const TTransform2D& outer, bool fromBlock, bool holderTransformed,
                 TPieces& pieces, TExplodeCounts& counts)
{
    const TTransform2D t = MultiplyTransforms2D(child.GetTransform(), outer);
    if (auto* point = dynamic_cast<const TPunto2D*>(&child); point && !fromBlock) {
        pieces.push_back(std::make_unique<TPunto2D>(0, Cartesian((*point->Points())[0], t)));
    } else if (auto* line = dynamic_cast<const TLine2D*>(&child)) {
        const std::vector<TPoint2D> p = WorldPoints(*line, t);
        pieces.push_back(std::make_unique<TLine2D>(0, p[0], p[1]));
        ++counts.Lines;
    } else if (auto* circle = dynamic_cast<const TCerchio2D*>(&child);
               circle && circle->ClassName() == "TCerchio2D") {
        const std::vector<TPoint2D> p = WorldPoints(*circle, t);
        pieces.push_back(std::make_unique<TCerchio2D>(0, p[0], p[1]));
        ++counts.Circles;
    } else if (auto* polyline = dynamic_cast<const TPolyline2D*>(&child);
               polyline && polyline->ClassName() == "TPolyline2D") {
        const std::vector<TPoint2D> p = WorldPoints(*polyline, t);
        pieces.push_back(std::make_unique<TPolyline2D>(0, p));
        ++counts.Polylines;
    } else if (auto* arc = dynamic_cast<const TArco2D*>(&child); fromBlock && arc) {
        pieces.push_back(TransformedArc(*arc, t, holderTransformed || child.HasTransform()));
        ++counts.Circles;
    } else if (auto copy = BakedCopy(child, outer)) {
        // Nothing of the drawing may be lost: anything else comes out whole, uncounted.
        pieces.push_back(std::move(copy));
    }
}

void AddPieces(TCADCmp2D& cad, TPieces& pieces, const TObject2D& source)
{
    for (auto& piece : pieces) {
        TObject2D* added = cad.AddObject(-1, std::move(piece));
        added->Layer = source.Layer;
        added->UpdateExtension();
    }
}

bool IsPicture(const TObject2D& object)
{
    return dynamic_cast<const TBitmap2D*>(&object) != nullptr;
}

} // namespace

void DeleteToStack(TObject2D& object, TDeletedEntities& stack)
{
    object.Visible = false;
    object.ToBeSaved = false;
    stack.push_back({object.ID});
}

bool Undelete(TCADCmp2D& cad, TDeletedEntities& stack)
{
    if (cad.ObjectsCount() == 0)
        stack.clear();
    while (!stack.empty()) {
        const std::int32_t id = stack.back().ID;
        stack.pop_back();
        TObject2D* object = cad.GetObject(id);
        if (object && !object->Visible) {
            object->Visible = true;
            object->ToBeSaved = true;
            cad.RepaintViewports();
            return true;
        }
    }
    return false;
}

bool EsplodeBlocco(TCADCmp2D& cad, TObject2D& object, TExplodeCounts& counts)
{
    TPieces pieces;
    const std::int32_t id = object.ID;
    if (auto* block = dynamic_cast<TBlock2D*>(&object)) {
        TSourceBlock2D* source = block->SourceBlock();
        if (!source)
            return false;
        const TTransform2D t = block->GetTransform();
        auto iterator = source->Objects().GetIterator();
        for (TGraphicObject* child = iterator->First(); child; child = iterator->Next())
            if (auto* child2D = dynamic_cast<TObject2D*>(child))
                ChildPieces(*child2D, t, true, block->HasTransform(), pieces, counts);
        iterator.reset();
        AddPieces(cad, pieces, object);
        const std::int32_t blockID = source->ID;
        const bool library = source->IsLibraryBlock;
        cad.DeleteObject(id);
        // Another reference keeps the block: deleting it then would fail.
        if (!library && cad.GetSourceBlock(blockID) && !cad.GetSourceBlock(blockID)->IsReferenced())
            cad.DeleteSourceBlock(blockID);
        return true;
    }
    if (auto* container = dynamic_cast<TContainer2D*>(&object)) {
        const TTransform2D t = container->GetTransform();
        auto iterator = container->Objects().GetIterator();
        for (TGraphicObject* child = iterator->First(); child; child = iterator->Next())
            if (auto* child2D = dynamic_cast<TObject2D*>(child))
                ChildPieces(*child2D, t, false, container->HasTransform(), pieces, counts);
        iterator.reset();
    } else if (auto* frame = dynamic_cast<TFrame2D*>(&object); frame && frame->ClassName() == "TFrame2D") {
        const std::unique_ptr<TPolyline2D> outline = FrameToPolyline(*frame);
        AddLines(WorldPoints(*outline, outline->GetTransform()), pieces, counts);
    } else if (auto* polyline = dynamic_cast<TPolyline2D*>(&object);
               polyline && polyline->ClassName() == "TPolyline2D") {
        AddLines(WorldPoints(*polyline, polyline->GetTransform()), pieces, counts);
    } else {
        return false;
    }
    AddPieces(cad, pieces, object);
    cad.DeleteObject(id);
    return true;
}

std::string ExplodeReport(int selected, const TExplodeCounts& counts, const TMessageText& text)
{
    if (counts.Lines <= 0 && counts.Polylines <= 0)
        return text(MSG_EXPLODE_NOTHING);
    std::string report = std::to_string(selected) + " " + text(MSG_EXPLODE_OBJECTS) + " ";
    if (counts.Lines > 0)
        report += std::to_string(counts.Lines) + " " + text(MSG_EXPLODE_LINES) + " ";
    if (counts.Circles > 0)
        report += std::to_string(counts.Circles) + " " + text(MSG_EXPLODE_CIRCLES) + " ";
    if (counts.Polylines > 0)
        report += std::to_string(counts.Polylines) + " " + text(MSG_EXPLODE_POLYLINES);
    return report;
}

bool SimplifyInDrawing(TCADCmp2D& cad, TObject2D& object, double tolerance, TSimplifyTotals& totals)
{
    std::unique_ptr<TPolyline2D> simplified = SimplifyObject(object, tolerance);
    if (!simplified)
        return false;
    int sourceCount = 0;
    if (auto* polyline = dynamic_cast<TPolyline2D*>(&object))
        sourceCount = polyline->PointCount();
    else
        sourceCount = CurveToPolyline(dynamic_cast<TCurve2D&>(object))->PointCount();
    totals.PolyReduceCount += sourceCount;
    totals.PolyReduceKept += simplified->PointCount();
    const std::uint8_t layer = object.Layer;
    cad.DeleteObject(object.ID);
    TObject2D* added = cad.AddObject(-1, std::move(simplified));
    added->Layer = layer;
    return true;
}

std::string SimplifyReport(const TSimplifyTotals& totals, const TMessageText& text)
{
    return text(MSG_SIMPLIFY_BEFORE) + " " + std::to_string(totals.PolyReduceCount) + "\n\r" +
           text(MSG_SIMPLIFY_AFTER) + " " + std::to_string(totals.PolyReduceKept);
}

std::vector<std::string> ChangeLayerItems(const TLayers& layers)
{
    std::vector<std::string> items;
    for (int i = 0; i < 256; ++i)
        items.push_back(std::to_string(i) + " - " + layers.GetLayer(i).Name());
    return items;
}

std::vector<TSmallEntity> FindSmallEntities(TCADCmp2D& cad, float limit)
{
    std::vector<TSmallEntity> found;
    auto iterator = cad.ObjectsIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        auto* object2D = dynamic_cast<TObject2D*>(object);
        if (!object2D || !object2D->Visible || IsPicture(*object2D) || dynamic_cast<TPunto2D*>(object2D))
            continue;
        const TRect2D box = NormalizeBox2D(object2D->Box);
        const float w = box.SecondEdge.X - box.FirstEdge.X;
        const float h = box.SecondEdge.Y - box.FirstEdge.Y;
        if (w < limit && h < limit)
            found.push_back({object2D->ID, object2D->Box.FirstEdge});
    }
    return found;
}

int DeleteSmallEntities(TCADCmp2D& cad, float limit)
{
    const std::vector<TSmallEntity> small = FindSmallEntities(cad, limit);
    for (const TSmallEntity& entity : small)
        cad.DeleteObject(entity.ID);
    cad.RepaintViewports();
    return static_cast<int>(small.size());
}

std::string SmallEntitiesReport(int count, bool deleted, const TMessageText& text)
{
    return std::to_string(count) + " " + text(deleted ? MSG_SMALL_DELETED : MSG_SMALL_FOUND);
}

void MirrorAll(TCADCmp2D& cad, int axisChoice)
{
    if (axisChoice < 1 || axisChoice > 3)
        return;
    const TTransform2D mirror = MakeMirror2D(axisChoice - 1);
    auto iterator = cad.ObjectsIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
        auto* object2D = dynamic_cast<TObject2D*>(object);
        if (!object2D || IsPicture(*object2D))
            continue;
        object2D->SetModelTransform(MultiplyTransforms2D(object2D->GetTransform(), mirror));
        object2D->SetCurrentTransform(IdentityTransform2D);
        object2D->UpdateExtension();
    }
    iterator.reset();
    cad.RepaintViewports();
}

std::vector<std::int32_t> SelectedIDs(std::span<TObject2D* const> objects)
{
    std::vector<std::int32_t> ids;
    for (TObject2D* object : objects)
        if (object && !IsPicture(*object))
            ids.push_back(object->ID);
    return ids;
}

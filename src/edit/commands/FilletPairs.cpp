#include "edit/commands/FilletPairs.h"

#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/VectorHelpers.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Line2D.h"
#include "edit/entities/EditEntities.h"

namespace {

// A trim places its corner by the ends a fillet of this radius would keep.
constexpr double kTrimOffset = 0.1;

TArco2D& AsArc(TCADCmp2D& drawing, TObject2D& object)
{
    if (auto* circle = dynamic_cast<TCerchio2D*>(&object))
        return ReplaceCircleByArc(drawing, *circle);
    return dynamic_cast<TArco2D&>(object);
}

void AddFillet(TCADCmp2D& drawing, TVect centre, const TArcAngles& angles, const TFilletOptions& options,
               bool modify)
{
    AddArc(drawing, centre, options.Radius, modify ? angles : TArcAngles{}, drawing.CurrentLayer);
}

// Cuts the arc at the point; when it splits the pieces replace it.
bool SplitArcAt(TCADCmp2D& drawing, TArco2D& arc, const std::vector<TVect>& cuts)
{
    const TCircleArc whole = ArcOf(arc);
    const std::vector<TArcAngles> pieces = SplitArcAngles(whole.Centre, whole.Angles.Start, whole.Angles.End, cuts);
    if (!AddArcPieces(drawing, whole, pieces, arc.Layer))
        return false;
    drawing.DeleteObject(arc.ID);
    return true;
}

void MoveLineEnd(TLine2D& line, bool first, TVect to)
{
    std::vector<TVect> ends = WorldPoints(line);
    ends[first ? 0 : 1] = to;
    SetWorldPoints(line, ends);
}

void LineLine(TCADCmp2D& drawing, TLine2D& l1, TLine2D& l2, TVect pick1, TVect pick2, const TFilletOptions& options)
{
    const std::vector<TVect> a = WorldPoints(l1);
    const std::vector<TVect> b = WorldPoints(l2);
    const auto fillet =
        LineLineFillet(a[0], a[1], b[0], b[1], pick1, pick2, options.MakeArc ? options.Radius : kTrimOffset);
    if (!fillet)
        return;
    if (options.MakeArc)
        AddFillet(drawing, fillet->Centre, fillet->Angles, options, options.ModifyEntities);
    if (options.ModifyEntities) {
        MoveLineEnd(l1, fillet->FirstEnd1, options.MakeArc ? fillet->Tangent1 : fillet->Corner);
        MoveLineEnd(l2, fillet->FirstEnd2, options.MakeArc ? fillet->Tangent2 : fillet->Corner);
    }
}

void LineArc(TCADCmp2D& drawing, TLine2D& line, TArco2D& arc, TVect pickLine, TVect pickArc,
             const TFilletOptions& options)
{
    const std::vector<TVect> ends = WorldPoints(line);
    const TCircleArc circle = ArcOf(arc);
    const auto fillet = LineArcFillet(ends[0], ends[1], circle.Centre, circle.Radius, pickLine, pickArc,
                                      options.MakeArc ? options.Radius : kTrimOffset);
    // A trim cuts at the crossing; a fillet needs none.
    if (!fillet || (!options.MakeArc && !fillet->Crosses))
        return;
    if (options.ModifyEntities)
        MoveLineEnd(line, fillet->FirstEnd, options.MakeArc ? fillet->LineTangent : fillet->Corner);
    if (!options.MakeArc || options.ModifyEntities)
        SplitArcAt(drawing, arc, {options.MakeArc ? fillet->ArcTangent : fillet->Corner});
    if (options.MakeArc)
        AddFillet(drawing, fillet->Centre, fillet->Angles, options, options.ModifyEntities);
}

void ArcArc(TCADCmp2D& drawing, TCADViewport2DCore* view, TArco2D& a1, TArco2D& a2, TVect pick1, TVect pick2,
            const TFilletOptions& options)
{
    if (!options.MakeArc) {
        BreakArcs(drawing, view, a1, a2);
        return;
    }
    const TCircleArc c1 = ArcOf(a1);
    const TCircleArc c2 = ArcOf(a2);
    const auto fillet = ArcArcFillet(c1.Centre, c1.Radius, c2.Centre, c2.Radius, pick1, pick2, options.Radius);
    if (!fillet)
        return;
    if (options.ModifyEntities) {
        SplitArcAt(drawing, a1, {fillet->Tangent1});
        SplitArcAt(drawing, a2, {fillet->Tangent2});
    }
    AddFillet(drawing, fillet->Centre, fillet->Angles, options, options.ModifyEntities);
}

} // namespace

bool IsFilletEntity(const TObject2D* object)
{
    return dynamic_cast<const TLine2D*>(object) || dynamic_cast<const TArco2D*>(object) ||
           dynamic_cast<const TCerchio2D*>(object);
}

void FilletPair(TCADCmp2D& drawing, TCADViewport2DCore* view, TObject2D& first, TObject2D& second, TVect pick1,
                TVect pick2, const TFilletOptions& options)
{
    if (!IsFilletEntity(&first) || !IsFilletEntity(&second))
        return;
    auto* line1 = dynamic_cast<TLine2D*>(&first);
    auto* line2 = dynamic_cast<TLine2D*>(&second);
    if (line1 && line2) {
        LineLine(drawing, *line1, *line2, pick1, pick2, options);
        return;
    }
    TFilletOptions used = options;
    if (options.ModifyWhenCircleWithArc && dynamic_cast<TCerchio2D*>(&first) && dynamic_cast<TArco2D*>(&second))
        used.ModifyEntities = true;
    if (line1) {
        LineArc(drawing, *line1, AsArc(drawing, second), pick1, pick2, used);
        return;
    }
    if (line2) {
        LineArc(drawing, *line2, AsArc(drawing, first), pick2, pick1, used);
        return;
    }
    TArco2D& arc1 = AsArc(drawing, first);
    TArco2D& arc2 = AsArc(drawing, second);
    ArcArc(drawing, view, arc1, arc2, pick1, pick2, used);
}

void BreakArcs(TCADCmp2D& drawing, TCADViewport2DCore* view, TObject2D& first, TObject2D& second)
{
    TArco2D& a1 = AsArc(drawing, first);
    TArco2D& a2 = AsArc(drawing, second);
    const TCircleArc c1 = ArcOf(a1);
    const TCircleArc c2 = ArcOf(a2);
    const std::vector<TVect> cuts = ArcArcCrossings(c1.Centre, c1.Radius, c1.Angles, c2.Centre, c2.Radius, c2.Angles);
    if (cuts.empty())
        return;
    const bool cut1 = SplitArcAt(drawing, a1, cuts);
    const bool cut2 = SplitArcAt(drawing, a2, cuts);
    if (cut1 || cut2)
        for (TVect cut : cuts)
            MarkPoint(view, cut);
}

#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/VectorHelpers.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Circle2D.h"
#include "cad/shapes/Line2D.h"
#include "edit/geometry/BreakGeometry.h"
#include "edit/entities/EditEntities.h"
#include "edit/commands/EditStates.h"
#include "edit/commands/FilletPairs.h"

namespace {

class TBreaker {
public:
    TBreaker(TCADCmp2D& drawing, TCADViewport2DCore* view) : Drawing(drawing), View(view) {}

    void Break(TObject2D& first, TObject2D& second)
    {
        auto* line1 = dynamic_cast<TLine2D*>(&first);
        TObject2D* arc1 = dynamic_cast<TArco2D*>(&first);
        if (auto* circle = dynamic_cast<TCerchio2D*>(&first))
            arc1 = &ReplaceCircleByArc(Drawing, *circle);
        if (!line1 && !arc1) {
            BreakRuns(first, second);
            return;
        }
        auto* line2 = dynamic_cast<TLine2D*>(&second);
        TArco2D* arc2 = dynamic_cast<TArco2D*>(&second);
        if (auto* circle = dynamic_cast<TCerchio2D*>(&second))
            arc2 = &ReplaceCircleByArc(Drawing, *circle);
        if (line1 && line2)
            LineLine(*line1, *line2);
        else if (line1 && arc2)
            LineArc(*line1, *arc2);
        else if (arc1 && line2)
            LineArc(*line2, static_cast<TArco2D&>(*arc1));
        else if (arc1 && arc2)
            BreakArcs(Drawing, View, *arc1, *arc2);
        else
            BreakRuns(*(line1 ? static_cast<TObject2D*>(line1) : arc1), second);
    }

private:
    void LineLine(TLine2D& a, TLine2D& b)
    {
        const std::vector<TVect> p = WorldPoints(a);
        const std::vector<TVect> q = WorldPoints(b);
        TVect cut;
        if (!SegmentIntersection(p[0], p[1], q[0], q[1], cut))
            return;
        ReplaceByPieces(a, CutSegment(p[0], p[1], {cut}, REAL_EPSILON));
        ReplaceByPieces(b, CutSegment(q[0], q[1], {cut}, REAL_EPSILON));
        MarkPoint(View, cut);
    }

    void LineArc(TLine2D& line, TArco2D& arc)
    {
        const std::vector<TVect> ends = WorldPoints(line);
        const TCircleArc whole = ArcOf(arc);
        // A line wholly inside the circle meets it nowhere.
        const std::vector<TVect> cuts = SegmentCircleCrossings(ends[0], ends[1], whole.Centre, whole.Radius);
        if (cuts.empty())
            return;
        const auto pieces = CutSegment(ends[0], ends[1], cuts, REAL_EPSILON);
        if (pieces.size() > 1)
            ReplaceByPieces(line, pieces);
        MarkPoint(View, cuts.back());
        const std::vector<TArcAngles> arcs = SplitArcAngles(whole.Centre, whole.Angles.Start, whole.Angles.End, cuts);
        if (AddArcPieces(Drawing, whole, arcs, arc.Layer)) {
            Drawing.DeleteObject(arc.ID);
            MarkPoint(View, cuts.front());
        }
    }

    void BreakRuns(TObject2D& a, TObject2D& b)
    {
        const std::vector<TVect> runA = RunOf(a);
        const std::vector<TVect> runB = RunOf(b);
        const TRunBreak cut = ::BreakRuns(runA, runB);
        if (cut.Cuts.empty())
            return;
        for (TVect point : cut.Cuts)
            MarkPoint(View, point);
        for (const std::vector<TVect>& piece : cut.PiecesA)
            AddPolyline(Drawing, piece, a.Layer);
        for (const std::vector<TVect>& piece : cut.PiecesB)
            AddPolyline(Drawing, piece, b.Layer);
        Drawing.DeleteObject(a.ID);
        Drawing.DeleteObject(b.ID);
    }

    void ReplaceByPieces(TLine2D& line, const std::vector<std::pair<TVect, TVect>>& pieces)
    {
        for (const auto& [from, to] : pieces)
            AddLine(Drawing, from, to, line.Layer);
        Drawing.DeleteObject(line.ID);
    }

    TCADCmp2D& Drawing;
    TCADViewport2DCore* View;
};

} // namespace

TMyBreak::TMyBreak(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TEditState(engine, std::move(param), nextState)
{
    const std::vector<TObject2D*> picked = Picked();
    if (picked.size() == 2)
        TBreaker(Drawing(), &View()).Break(*picked[0], *picked[1]);
    End(nextState);
}

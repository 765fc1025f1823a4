#include "cad/base/Settings.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/shapes/Arc2D.h"
#include "cad/shapes/Line2D.h"
#include "edit/entities/EditEntities.h"
#include "edit/commands/EditSettings.h"
#include "edit/commands/EditStates.h"
#include "edit/geometry/JoinGeometry.h"

namespace {

constexpr int kJoinCaption = 450;

void JoinPair(TCADCmp2D& drawing, TObject2D& first, TObject2D& second)
{
    auto* line1 = dynamic_cast<TLine2D*>(&first);
    auto* line2 = dynamic_cast<TLine2D*>(&second);
    auto* arc1 = dynamic_cast<TArco2D*>(&first);
    auto* arc2 = dynamic_cast<TArco2D*>(&second);
    if (line1 && line2) {
        const std::vector<TVect> a = WorldPoints(*line1);
        const std::vector<TVect> b = WorldPoints(*line2);
        const auto joined = JoinLines({a[0], a[1]}, {b[0], b[1]}, ChainTol);
        if (!joined) {
            ShowEditBox({{461}, kJoinCaption, true});
            return;
        }
        drawing.DeleteObject(line1->ID);
        SetWorldPoints(*line2, {joined->Start, joined->End});
    } else if (arc1 && arc2) {
        TCircleArc c1 = ArcOf(*arc1);
        const TCircleArc c2 = ArcOf(*arc2);
        if (!SameCircle(c1.Centre, c1.Radius, c2.Centre, c2.Radius)) {
            ShowEditBox({{462}, kJoinCaption, true});
            return;
        }
        c1.Angles = JoinArcs(c1.Centre, c1.Radius, c1.Angles, c2.Angles);
        drawing.DeleteObject(arc2->ID);
        SetWorldArc(*arc1, c1);
    } else {
        ShowEditBox({{431}, kJoinCaption, true});
    }
}

} // namespace

TMyJoin::TMyJoin(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TEditState(engine, std::move(param), nextState)
{
    const std::vector<TObject2D*> picked = Picked();
    if (picked.size() == 2)
        JoinPair(Drawing(), *picked[0], *picked[1]);
    End(nextState);
}

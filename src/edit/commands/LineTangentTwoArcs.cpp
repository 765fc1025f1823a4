#include <optional>

#include "cad/drawing/CADCmp2D.h"
#include "edit/entities/EditEntities.h"
#include "edit/commands/EditStates.h"
#include "edit/geometry/TangentGeometry.h"

TMyLineaTan2A::TMyLineaTan2A(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TEditState(engine, std::move(param), nextState)
{
    const std::vector<TObject2D*> picked = Picked();
    if (picked.size() == 2) {
        const std::optional<TCircleArc> c1 = CircleOfEntity(picked[0]);
        const std::optional<TCircleArc> c2 = CircleOfEntity(picked[1]);
        if (c1 && c2) {
            const std::array<TVect, 2> picks = TwoPicks();
            if (const auto tangent =
                    TangentToTwoCircles(c1->Centre, c1->Radius, c2->Centre, c2->Radius, picks[0], picks[1]))
                AddLine(Drawing(), tangent->From, tangent->To, Drawing().CurrentLayer);
        }
    }
    End(nextState);
}

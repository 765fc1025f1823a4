#include <optional>

#include "cad/drawing/CADCmp2D.h"
#include "edit/entities/EditEntities.h"
#include "edit/commands/EditSettings.h"
#include "edit/commands/EditStates.h"
#include "edit/geometry/TangentGeometry.h"

TMyLineaTanAngle::TMyLineaTanAngle(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TEditState(engine, std::move(param), nextState)
{
    const std::vector<TObject2D*> picked = Picked();
    if (!picked.empty())
        if (const std::optional<TCircleArc> circle = CircleOfEntity(picked.front())) {
            const TTangentSegment tangent = TangentAtAngle(circle->Centre, circle->Radius,
                                                           EditSettings().TanLineLength,
                                                           EditSettings().TanLineAngle, PickPoint());
            AddLine(Drawing(), tangent.From, tangent.To, Drawing().CurrentLayer);
        }
    End(nextState);
}

#include <optional>

#include "cad/drawing/CADCmp2D.h"
#include "edit/entities/EditEntities.h"
#include "edit/commands/EditStates.h"

TMyLineaPer::TMyLineaPer(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TEditState(engine, std::move(param), nextState)
{
    KeepEntityForPoint(TCADStateClass::Of<TMyLineaPerPunto>(), nextState);
}

TMyLineaPerPunto::TMyLineaPerPunto(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                   TCADStateClass& nextState)
    : TEditState(engine, std::move(param), nextState)
{
    const TVect from = PickPoint();
    if (const std::optional<TVect> foot = KeptEntityFoot(from))
        AddLine(Drawing(), *foot, from, Drawing().CurrentLayer);
    End(nextState);
}

#include <optional>

#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/VectorHelpers.h"
#include "edit/EditEntities.h"
#include "edit/EditStates.h"

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
    if (TObject2D* entity = KeptEntity())
        if (const std::optional<TVect> foot = NearestOnEntity(*entity, from))
            if (!EqualPoints(*foot, from))
                AddLine(Drawing(), *foot, from, Drawing().CurrentLayer);
    End(nextState);
}

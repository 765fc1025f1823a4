#include "cad/engine/CADState.h"

#include "cad/base/CADExceptions.h"
#include "cad/engine/CADPrg.h"

TCADState::TCADState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : EngineRef(engine), ParamValue(std::move(param))
{
    nextState = {};
}

bool TCADState::ProcessEvent(TCADPrgEvent, int, TShiftState, int, TCADStateClass&)
{
    return false;
}

void TCADState::CancelState()
{
    ParamValue.reset();
}

void TCADState::ResumeState(const TCADStateClass&)
{
}

void TCADState::SetDescription(const std::string& text)
{
    DescriptionValue = text;
    EngineRef.DescriptionChanged(*this);
}

TCADIdleState::TCADIdleState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TCADState(engine, std::move(param), nextState)
{
    if (Param())
        throw ECADCoreException("TCADIdleState.Create: Non all objects were destroied");
}

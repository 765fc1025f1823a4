#include "cad/engine/CAD2DState.h"

#include "cad/engine/EngineHooks.h"

namespace {

TCADPrg2D* RequireEngine2D(TCADPrg& engine)
{
    auto* engine2D = dynamic_cast<TCADPrg2D*>(&engine);
    if (!engine2D || !engine2D->Viewport2D())
        throw ECADCoreException("TCAD2DState: The task needs a 2D view");
    return engine2D;
}

} // namespace

TCAD2DState::TCAD2DState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TCADState(engine, std::move(param), nextState), Engine2D(RequireEngine2D(engine))
{
}

TPoint2D TCAD2DState::SnappedPoint() const
{
    TPoint2D point;
    Engine2D->SnapPoint(point);
    return point;
}

void TCAD2DState::SetPrompt(int message)
{
    SetDescription(PromptText(message));
}

TCADStateClass TCAD2DState::AfterStateOrDefault() const
{
    return Param() && Param()->AfterState ? Param()->AfterState : Engine().DefaultState();
}

void TCAD2DState::Finish(TCADStateClass& nextState)
{
    nextState = AfterStateOrDefault();
    if (nextState == Engine().DefaultState())
        TakeParam().reset();
}

bool TCAD2DState::AcceptWithFullRepaint(TCADStateClass& nextState)
{
    nextState = AfterStateOrDefault();
    Engine().RequestFullRepaint();
    return true;
}

bool TCAD2DState::Cancel(TCADStateClass& nextState)
{
    CancelState();
    nextState = Engine().DefaultState();
    return true;
}

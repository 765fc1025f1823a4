#include "cad/engine/ZoomArea.h"

#include "cad/engine/SelectArea.h"
#include "cad/geometry/Geometry2D.h"

TCADPrgZoomState::TCADPrgZoomState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TCAD2DState(engine, std::move(param), nextState)
{
    SetCanBeSuspended(false);
}

TCADPrgZoomArea::TCADPrgZoomArea(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TCADPrgZoomState(engine, std::move(param), nextState)
{
    ReplaceParam(
        std::make_unique<TCADPrgSelectAreaParam>(TCADStateClass::Of<TCADPrgEndZoomArea>(), TakeParam()));
    nextState = TCADStateClass::Of<TCADPrgSelectArea>();
}

TCADPrgEndZoomArea::TCADPrgEndZoomArea(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                       TCADStateClass& nextState)
    : TCADPrgZoomState(engine, std::move(param), nextState)
{
    auto& area = RequireParam<TCADPrgSelectAreaParam>("TCADPrgEndZoomArea: Invalid param");
    const TPointsSet2D& corners = *area.Frame().Points();
    if (!SamePoint2D(corners[0], corners[1]))
        View().ZoomWindow(area.Area());
    // The caller's parameter travels on, or is freed with this state; the area goes now.
    ReplaceParam(area.TakeCallerParam());
    nextState = AfterStateOrDefault();
}

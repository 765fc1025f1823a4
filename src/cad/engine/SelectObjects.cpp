#include "cad/engine/SelectObjects.h"

bool SelectRefreshFlag = true;

TCAD2DSelectObjects::TCAD2DSelectObjects(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                         TCADStateClass& nextState)
    : TCAD2DPickingState(engine, std::move(param), nextState, "TCAD2DSelectObjects: Invalid param")
{
    SetPrompt(477);
    ShowAperture();
}

bool TCAD2DSelectObjects::ProcessEvent(TCADPrgEvent kind, int button, TShiftState, int key,
                                       TCADStateClass& nextState)
{
    if (FollowPointer(kind, true))
        return false;
    switch (kind) {
    case TCADPrgEvent::MouseUp:
        if (!IsLeft(button))
            return false;
        HideAperture();
        if (TObject2D* object = PickAtPointer())
            Notify(object, ToggleSelected(*object), Selection().LastPickCode);
        ShowAperture();
        return false;
    case TCADPrgEvent::UserEvent:
        if (key == CADPRG_ACCEPT)
            return AcceptSelection(nextState, SelectRefreshFlag);
        return key == CADPRG_CANCEL && Cancel(nextState);
    default:
        return false;
    }
}

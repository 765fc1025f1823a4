#include "cad/engine/SelectTwoObjects.h"

std::array<TPoint2D, 2> TwoPickPoints{};

TCAD2DSeleziona2Ogg::TCAD2DSeleziona2Ogg(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                         TCADStateClass& nextState)
    : TCAD2DPickingState(engine, std::move(param), nextState, InvalidSelectObjectParam)
{
    SetPrompt(477);
    ShowAperture();
}

bool TCAD2DSeleziona2Ogg::ProcessEvent(TCADPrgEvent kind, int button, TShiftState, int key,
                                       TCADStateClass& nextState)
{
    if (FollowPointer(kind, true))
        return false;
    switch (kind) {
    case TCADPrgEvent::MouseUp: {
        if (!IsLeft(button))
            return false;
        HideAperture();
        TObject2D* object = PickAtPointer();
        if (object) {
            TwoPickPoints[static_cast<std::size_t>(Count)] = RawPoint();
            const bool selected = ToggleSelected(*object);
            Count += selected ? 1 : -1;
            Notify(object, selected, Selection().LastPickCode);
            // Two objects end the pick with or without a callback: a third
            // pick would have no place among the two pick points.
            if (Count == 2) {
                View().InvalidateView();
                Finish(nextState);
                return true;
            }
        }
        ShowAperture();
        return false;
    }
    case TCADPrgEvent::UserEvent:
        if (key == CADPRG_ACCEPT)
            return AcceptSelection(nextState, true);
        return key == CADPRG_CANCEL && Cancel(nextState);
    default:
        return false;
    }
}

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
    switch (kind) {
    case TCADPrgEvent::MouseMove:
        MoveAperture();
        return false;
    case TCADPrgEvent::ViewRepainted:
        ShowAperture();
        MarkSelectedAgain();
        return false;
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
        if (key == CADPRG_ACCEPT) {
            {
                TBlockedEvents blocked(Engine());
                View().InvalidateView();
            }
            Finish(nextState);
            return true;
        }
        return key == CADPRG_CANCEL && Cancel(nextState);
    default:
        return false;
    }
}

#include "cad/engine/SelectObject.h"

#include "cad/engine/EngineGlobals.h"

TCAD2DSelectObject::TCAD2DSelectObject(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                       TCADStateClass& nextState)
    : TCAD2DPickingState(engine, std::move(param), nextState, InvalidSelectObjectParam)
{
    SetPrompt(477);
    ShowAperture();
}

bool TCAD2DSelectObject::ProcessEvent(TCADPrgEvent kind, int button, TShiftState, int key,
                                      TCADStateClass& nextState)
{
    if (FollowPointer(kind, false))
        return false;
    switch (kind) {
    case TCADPrgEvent::MouseDown:
    case TCADPrgEvent::MouseUp: {
        const bool down = kind == TCADPrgEvent::MouseDown;
        if (!IsLeft(button) || (down && !Selection().PickOnMouseDown))
            return false;
        TObject2D* object = PickAtPointer();
        if (!object)
            return false;
        Selection().SelectedObjects.Add(object);
        Notify(object, true, Selection().LastPickCode);
        if (down)
            View().InvalidateView();
        Finish(nextState);
        return true;
    }
    case TCADPrgEvent::UserEvent:
        return key == CADPRG_CANCEL && Cancel(nextState);
    default:
        return false;
    }
}

TCAD2DSelectPoint::TCAD2DSelectPoint(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                     TCADStateClass& nextState)
    : TCAD2DPickingState(engine, std::move(param), nextState, InvalidSelectObjectParam)
{
    SetPrompt(483);
    ObjectSnapActive = true;
    ShowAperture();
}

bool TCAD2DSelectPoint::ProcessEvent(TCADPrgEvent kind, int button, TShiftState, int key,
                                     TCADStateClass& nextState)
{
    switch (kind) {
    case TCADPrgEvent::MouseMove:
        // The aperture stays where it was first drawn: only the point follows.
        Selection().CurrentPoint = RawPoint();
        return false;
    case TCADPrgEvent::MouseUp:
        if (!IsLeft(button))
            return false;
        if (!Param()->AfterState)
            return Cancel(nextState);
        nextState = Param()->AfterState;
        return true;
    case TCADPrgEvent::UserEvent:
        return key == CADPRG_CANCEL && Cancel(nextState);
    default:
        return false;
    }
}

#include "cad/engine/Sel2Punti.h"

#include "cad/engine/EngineHooks.h"

TSCSel2Punti::TSCSel2Punti(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TCAD2DState(engine, std::move(param), nextState)
{
    RequireParam<TSCSel2PuntiParam>("TCAD2DTransformObjects: Invalid param");
    SetPrompt(484);
    ShowLine();
}

void TSCSel2Punti::ShowLine()
{
    Line.Show(View(), [&] { Points().DrawLine(View()); });
}

void TSCSel2Punti::HideLine()
{
    Line.Hide(View(), [&] { Points().DrawLine(View()); });
}

bool TSCSel2Punti::ProcessEvent(TCADPrgEvent kind, int button, TShiftState, int key, TCADStateClass& nextState)
{
    switch (kind) {
    case TCADPrgEvent::MouseDown:
        if (!IsLeft(button))
            return false;
        if (Picking) {
            Picking = false;
            SetPrompt(484);
            return false;
        }
        View().InvalidateView();
        Picking = true;
        Points().FirstPoint = Points().SecondPoint = SnappedPoint();
        SetPrompt(485);
        return false;
    case TCADPrgEvent::MouseMove:
        if (!Picking)
            return false;
        HideLine();
        Points().SecondPoint = SnappedPoint();
        ShowLine();
        if (EngineHooks().InfoDistanza)
            EngineHooks().InfoDistanza(Points().FirstPoint, Points().SecondPoint);
        return false;
    case TCADPrgEvent::UserEvent:
        if (key == CADPRG_ACCEPT)
            return AcceptWithFullRepaint(nextState);
        if (key == CADPRG_CANCEL) {
            nextState = Engine().DefaultState();
            return true;
        }
        return false;
    default:
        return false;
    }
}

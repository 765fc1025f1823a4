#include "cad/engine/DrawArcPrimitive.h"

namespace {

constexpr const char* InvalidParam = "TCAD2DDrawArcPrimitive: Invalid param";
constexpr int ArcPoints = 4;

} // namespace

TCAD2DDrawArcCurve::TCAD2DDrawArcCurve(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                       TCADStateClass& nextState)
    : TCAD2DDrawingState(engine, std::move(param), nextState)
{
}

TCAD2DDrawArcPrimitive::TCAD2DDrawArcPrimitive(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                               TCADStateClass& nextState)
    : TCAD2DDrawArcCurve(engine, std::move(param), nextState)
{
    auto& drawing = RequireParam<TCAD2DDrawArcPrimitiveParam>(InvalidParam);
    if (!drawing.Arc || drawing.Arc->PointCount() < ArcPoints)
        throw ECADCoreException(InvalidParam);
    SetPrompt(482);
}

TCAD2DDrawArcoPrimitive::TCAD2DDrawArcoPrimitive(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                                 TCADStateClass& nextState)
    : TCAD2DDrawArcCurve(engine, std::move(param), nextState)
{
    auto& drawing = RequireParam<TCAD2DDrawArcoPrimitiveParam>(InvalidParam);
    if (!drawing.Arc || drawing.Arc->PointCount() < ArcPoints)
        throw ECADCoreException(InvalidParam);
    SetPrompt(475);
}

bool TCAD2DDrawArcCurve::Click(TCADStateClass& nextState)
{
    TCAD2DDrawArcCurveParam& drawing = Drawing();
    TArcCurve2D& arc = *drawing.Arc;
    HideRubber(arc);
    const TPoint2D q = SnappedObjectPoint(arc);
    arc.Points()->SetPoint(drawing.Clicks, q);
    Prg2D().LastPt = SnappedPoint();
    const int c = ++drawing.Clicks;
    if (c == 2) {
        arc.SetStartAngle(0.0f);
        arc.SetEndAngle(0.0f);
        SetPrompt(476);
    }
    if (c < ArcPoints) {
        arc.Points()->SetPoint(c, q);
        ShowRubber(arc);
        return false;
    }
    return Complete(nextState);
}

void TCAD2DDrawArcCurve::FollowPointer()
{
    TCAD2DDrawArcCurveParam& drawing = Drawing();
    if (drawing.Clicks <= 0)
        return;
    TArcCurve2D& arc = *drawing.Arc;
    HideRubber(arc);
    arc.Points()->SetPoint(drawing.Clicks, SnappedObjectPoint(arc));
    ShowRubber(arc);
}

bool TCAD2DDrawArcCurve::Complete(TCADStateClass& nextState)
{
    if (Param()->AfterState) {
        nextState = Param()->AfterState;
        return true;
    }
    AddToDrawing(std::move(Drawing().Arc), nextState);
    return true;
}

bool TCAD2DDrawArcCurve::ProcessEvent(TCADPrgEvent kind, int button, TShiftState, int key,
                                      TCADStateClass& nextState)
{
    switch (kind) {
    case TCADPrgEvent::MouseDown:
        return IsLeft(button) && Click(nextState);
    case TCADPrgEvent::MouseMove:
        FollowPointer();
        return false;
    case TCADPrgEvent::ViewRepainted:
        if (Drawing().Clicks > 0)
            ShowRubber(*Drawing().Arc);
        return false;
    case TCADPrgEvent::UserEvent:
        if (key == CADPRG_ACCEPT) {
            // Nothing clicked yet: no arc of the user's to keep.
            if (Drawing().Clicks == 0)
                return Cancel(nextState);
            return Complete(nextState);
        }
        return key == CADPRG_CANCEL && Cancel(nextState);
    default:
        return false;
    }
}

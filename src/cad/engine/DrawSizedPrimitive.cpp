#include "cad/engine/DrawSizedPrimitive.h"

TCAD2DDrawSizedPrimitive::TCAD2DDrawSizedPrimitive(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                                   TCADStateClass& nextState)
    : TCAD2DDrawingState(engine, std::move(param), nextState)
{
    auto& drawing = RequireParam<TCAD2DDrawSizedPrimitiveParam>("TCAD2DDrawSizedPrimitive: Invalid param");
    if (!drawing.Primitive || drawing.PointsCount == 0 || !drawing.Primitive->Points())
        throw ECADCoreException("TCAD2DDrawSizedPrimitive: Invalid param");
    SetPrompt(474);
}

bool TCAD2DDrawSizedPrimitive::Click(TCADStateClass& nextState)
{
    TCAD2DDrawSizedPrimitiveParam& drawing = Drawing();
    TPrimitive2D& primitive = *drawing.Primitive;
    TPointsSet2D& points = *primitive.Points();
    HideRubber(primitive);
    TPoint2D q = SnappedObjectPoint(primitive);
    int i = drawing.CurrentPoint;
    if (i > 0) {
        q = Constrained(drawing.Ortho, points[i - 1], q);
        points.SetPoint(i, q);
    } else {
        for (int k = 0; k < drawing.PointsCount; ++k)
            points.SetPoint(k, q);
    }
    Prg2D().LastPt = SnappedPoint();
    drawing.CurrentPoint = static_cast<std::int16_t>(++i);
    if (i < drawing.PointsCount) {
        points.SetPoint(i, q);
        ShowRubber(primitive);
        return false;
    }
    return Complete(nextState);
}

void TCAD2DDrawSizedPrimitive::FollowPointer()
{
    TCAD2DDrawSizedPrimitiveParam& drawing = Drawing();
    const int i = drawing.CurrentPoint;
    if (i <= 0)
        return;
    TPrimitive2D& primitive = *drawing.Primitive;
    TPointsSet2D& points = *primitive.Points();
    HideRubber(primitive);
    points.SetPoint(i, Constrained(drawing.Ortho, points[i - 1], SnappedObjectPoint(primitive)));
    ShowRubber(primitive);
}

bool TCAD2DDrawSizedPrimitive::Complete(TCADStateClass& nextState)
{
    if (Param()->AfterState) {
        nextState = Param()->AfterState;
        return true;
    }
    AddToDrawing(std::move(Drawing().Primitive), nextState);
    return true;
}

bool TCAD2DDrawSizedPrimitive::ProcessEvent(TCADPrgEvent kind, int button, TShiftState, int key,
                                            TCADStateClass& nextState)
{
    switch (kind) {
    case TCADPrgEvent::MouseDown:
        return IsLeft(button) && Click(nextState);
    case TCADPrgEvent::MouseMove:
        FollowPointer();
        return false;
    case TCADPrgEvent::ViewRepainted:
        if (Drawing().CurrentPoint > 0)
            ShowRubber(*Drawing().Primitive);
        return false;
    case TCADPrgEvent::UserEvent:
        if (key == CADPRG_ACCEPT) {
            // Before the first click the primitive has no point of the user's: nothing to keep.
            if (Drawing().CurrentPoint == 0)
                return Cancel(nextState);
            return Complete(nextState);
        }
        return key == CADPRG_CANCEL && Cancel(nextState);
    default:
        return false;
    }
}

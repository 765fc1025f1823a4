#include "cad/engine/DrawUnSizedPrimitive.h"

#include "cad/geometry/Geometry2D.h"

namespace {

void PutPoint(TPointsSet2D& points, int index, TPoint2D point)
{
    if (index < points.Count())
        points.SetPoint(index, point);
    else
        points.Append(point);
}

} // namespace

TCAD2DDrawUnSizedPrimitive::TCAD2DDrawUnSizedPrimitive(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                                       TCADStateClass& nextState)
    : TCAD2DDrawingState(engine, std::move(param), nextState)
{
    auto& drawing = RequireParam<TCAD2DDrawUnSizedPrimitiveParam>("TCAD2DDrawUnSizedPrimitive: Invalid param");
    if (!drawing.Primitive || !drawing.Primitive->Points())
        throw ECADCoreException("TCAD2DDrawUnSizedPrimitive: Invalid param");
    drawing.Primitive->Points()->Clear();
    drawing.Primitive->UpdateExtension();
    SetPrompt(474);
}

void TCAD2DDrawUnSizedPrimitive::Click()
{
    TCAD2DDrawUnSizedPrimitiveParam& drawing = Drawing();
    TPrimitive2D& primitive = *drawing.Primitive;
    TPointsSet2D& points = *primitive.Points();
    HideRubber(primitive);
    TPoint2D q = SnappedObjectPoint(primitive);
    int i = drawing.CurrentPoint;
    if (i > 0) {
        q = Constrained(drawing.Ortho, points[i - 1], q);
        PutPoint(points, i, q);
    } else {
        PutPoint(points, 0, q);
    }
    Prg2D().LastPt = SnappedPoint();
    if (i == 0 || !SamePoint2D(q, points[i - 1]))
        ++i;
    drawing.CurrentPoint = static_cast<std::int16_t>(i);
    PutPoint(points, i, q);
    ShowRubber(primitive);
}

void TCAD2DDrawUnSizedPrimitive::FollowPointer()
{
    TCAD2DDrawUnSizedPrimitiveParam& drawing = Drawing();
    const int i = drawing.CurrentPoint;
    if (i <= 0)
        return;
    TPrimitive2D& primitive = *drawing.Primitive;
    TPointsSet2D& points = *primitive.Points();
    HideRubber(primitive);
    PutPoint(points, i, Constrained(drawing.Ortho, points[i - 1], SnappedObjectPoint(primitive)));
    ShowRubber(primitive);
}

bool TCAD2DDrawUnSizedPrimitive::Accept(TCADStateClass& nextState)
{
    if (Param()->AfterState) {
        nextState = Param()->AfterState;
        return true;
    }
    // Before the first click there is no figure: adding an empty one would
    // stretch the drawing's extension to the origin.
    if (Drawing().CurrentPoint == 0)
        return Cancel(nextState);
    AddToDrawing(std::move(Drawing().Primitive), nextState);
    return true;
}

bool TCAD2DDrawUnSizedPrimitive::Close(TCADStateClass& nextState)
{
    if (Param()->AfterState) {
        nextState = Param()->AfterState;
        return true;
    }
    TCAD2DDrawUnSizedPrimitiveParam& drawing = Drawing();
    const int i = drawing.CurrentPoint;
    if (i < 3)
        return false;
    TPointsSet2D& points = *drawing.Primitive->Points();
    PutPoint(points, i, points[0]);
    AddToDrawing(std::move(drawing.Primitive), nextState);
    return true;
}

bool TCAD2DDrawUnSizedPrimitive::ProcessEvent(TCADPrgEvent kind, int button, TShiftState, int key,
                                              TCADStateClass& nextState)
{
    switch (kind) {
    case TCADPrgEvent::MouseDown:
        if (IsLeft(button))
            Click();
        return false;
    case TCADPrgEvent::MouseMove:
        FollowPointer();
        return false;
    case TCADPrgEvent::ViewRepainted:
        if (Drawing().CurrentPoint > 0)
            ShowRubber(*Drawing().Primitive);
        return false;
    case TCADPrgEvent::UserEvent:
        switch (key) {
        case CADPRG_ACCEPT: return Accept(nextState);
        case CADPRG_CLOSE_FIGURE: return Close(nextState);
        case CADPRG_CANCEL: return Cancel(nextState);
        default: return false;
        }
    default:
        return false;
    }
}

#include "cad/engine/PrimitiveDrawing.h"

#include "cad/drawing/CADCmp2D.h"
#include "cad/geometry/Geometry2D.h"

TCAD2DDrawUnSizedPrimitiveParam::TCAD2DDrawUnSizedPrimitiveParam(TCADStateClass afterState,
                                                                 std::unique_ptr<TPrimitive2D> primitive, bool ortho)
    : TCAD2DCommonParam(afterState), Primitive(std::move(primitive)), Ortho(ortho)
{
}

TCAD2DDrawSizedPrimitiveParam::TCAD2DDrawSizedPrimitiveParam(TCADStateClass afterState,
                                                             std::unique_ptr<TPrimitive2D> primitive, bool ortho)
    : TCAD2DDrawUnSizedPrimitiveParam(afterState, std::move(primitive), ortho),
      PointsCount(static_cast<std::uint16_t>(Primitive ? Primitive->PointCount() : 0))
{
}

TCAD2DDrawingState::TCAD2DDrawingState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                       TCADStateClass& nextState)
    : TCAD2DState(engine, std::move(param), nextState)
{
    Prg2D().LastPt = {1e8f, 1e8f, 1.0f};
}

TPoint2D TCAD2DDrawingState::SnappedObjectPoint(const TObject2D& object) const
{
    return View().WorldToObject(object, SnappedPoint());
}

TPoint2D TCAD2DDrawingState::Constrained(bool taskOrtho, TPoint2D previous, TPoint2D point) const
{
    if (taskOrtho && Prg2D().UseOrto)
        OrthoConstrain2D(previous, point);
    return point;
}

void TCAD2DDrawingState::ShowRubber(TObject2D& object)
{
    Rubber.Show(View(), [&] { View().DrawObject2DWithRubber(object, true); });
}

void TCAD2DDrawingState::HideRubber(TObject2D& object)
{
    Rubber.Hide(View(), [&] { View().DrawObject2DWithRubber(object, true); });
}

void TCAD2DDrawingState::AddToDrawing(std::unique_ptr<TObject2D> object, TCADStateClass& nextState)
{
    TCADCmp2D* drawing = View().CADCmp2D();
    if (!drawing)
        throw ECADCoreException("TCAD2DDrawingState: No drawing to add to");
    {
        TBlockedEvents blocked(Engine());
        const bool drawOnAdd = drawing->DrawOnAdd;
        drawing->DrawOnAdd = true;
        try {
            // A new object: whatever ID its starter gave it, it gets the drawing's next.
            drawing->AddObject(-1, std::move(object));
        } catch (...) {
            drawing->DrawOnAdd = drawOnAdd;
            throw;
        }
        drawing->DrawOnAdd = drawOnAdd;
    }
    TakeParam().reset();
    nextState = Engine().DefaultState();
}

bool TCAD2DPointsState::Complete(TCADStateClass& nextState)
{
    if (Param()->AfterState) {
        nextState = Param()->AfterState;
        return true;
    }
    AddToDrawing(TakeFigure(), nextState);
    return true;
}

bool TCAD2DPointsState::ProcessEvent(TCADPrgEvent kind, int button, TShiftState, int key,
                                     TCADStateClass& nextState)
{
    switch (kind) {
    case TCADPrgEvent::MouseDown:
        return IsLeft(button) && Click(nextState);
    case TCADPrgEvent::MouseMove:
        if (FixedPoints() > 0)
            FollowPointer();
        return false;
    case TCADPrgEvent::ViewRepainted:
        if (FixedPoints() > 0)
            ShowRubber(Figure());
        return false;
    case TCADPrgEvent::UserEvent:
        if (key == CADPRG_ACCEPT) {
            // Before the first click there is no figure of the user's: adding
            // an empty one would stretch the drawing's extension to the origin.
            if (FixedPoints() == 0)
                return Cancel(nextState);
            return Complete(nextState);
        }
        return key == CADPRG_CANCEL && Cancel(nextState);
    default:
        return false;
    }
}

TPoint2D TCAD2DPrimitivePointsState::ClickedPoint()
{
    TCAD2DDrawUnSizedPrimitiveParam& drawing = Drawing();
    TPrimitive2D& primitive = *drawing.Primitive;
    HideRubber(primitive);
    Prg2D().LastPt = SnappedPoint();
    const TPoint2D q = SnappedObjectPoint(primitive);
    const int i = drawing.CurrentPoint;
    return i > 0 ? Constrained(drawing.Ortho, primitive.Points()->Get(i - 1), q) : q;
}

void TCAD2DPrimitivePointsState::FollowPointer()
{
    TCAD2DDrawUnSizedPrimitiveParam& drawing = Drawing();
    const int i = drawing.CurrentPoint;
    TPrimitive2D& primitive = *drawing.Primitive;
    TPointsSet2D& points = *primitive.Points();
    HideRubber(primitive);
    points.SetPoint(i, Constrained(drawing.Ortho, points[i - 1], SnappedObjectPoint(primitive)));
    ShowRubber(primitive);
}

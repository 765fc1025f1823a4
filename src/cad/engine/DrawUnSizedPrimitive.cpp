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
    : TCAD2DPrimitivePointsState(engine, std::move(param), nextState)
{
    auto& drawing = RequireParam<TCAD2DDrawUnSizedPrimitiveParam>("TCAD2DDrawUnSizedPrimitive: Invalid param");
    if (!drawing.Primitive || !drawing.Primitive->Points())
        throw ECADCoreException("TCAD2DDrawUnSizedPrimitive: Invalid param");
    drawing.Primitive->Points()->Clear();
    drawing.Primitive->UpdateExtension();
    SetPrompt(474);
}

bool TCAD2DDrawUnSizedPrimitive::Click(TCADStateClass&)
{
    TCAD2DDrawUnSizedPrimitiveParam& drawing = Drawing();
    TPointsSet2D& points = *drawing.Primitive->Points();
    const TPoint2D q = ClickedPoint();
    int i = drawing.CurrentPoint;
    PutPoint(points, i, q);
    if (i == 0 || !SamePoint2D(q, points[i - 1]))
        ++i;
    drawing.CurrentPoint = static_cast<std::int16_t>(i);
    PutPoint(points, i, q);
    ShowRubber(*drawing.Primitive);
    return false;
}

void TCAD2DDrawUnSizedPrimitive::DropUnmovedPoint()
{
    TCAD2DDrawUnSizedPrimitiveParam& drawing = Drawing();
    TPointsSet2D& points = *drawing.Primitive->Points();
    const int i = drawing.CurrentPoint;
    if (i > 1 && i < points.Count() && SamePoint2D(points[i], points[i - 1]))
        points.Delete(i);
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
    return Complete(nextState);
}

bool TCAD2DDrawUnSizedPrimitive::ProcessEvent(TCADPrgEvent kind, int button, TShiftState shift, int key,
                                              TCADStateClass& nextState)
{
    if (IsUser(kind, key, CADPRG_CLOSE_FIGURE))
        return Close(nextState);
    if (IsUser(kind, key, CADPRG_ACCEPT))
        DropUnmovedPoint();
    return TCAD2DPointsState::ProcessEvent(kind, button, shift, key, nextState);
}

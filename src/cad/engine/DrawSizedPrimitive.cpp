#include "cad/engine/DrawSizedPrimitive.h"

TCAD2DDrawSizedPrimitive::TCAD2DDrawSizedPrimitive(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                                   TCADStateClass& nextState)
    : TCAD2DPrimitivePointsState(engine, std::move(param), nextState)
{
    auto& drawing = RequireParam<TCAD2DDrawSizedPrimitiveParam>("TCAD2DDrawSizedPrimitive: Invalid param");
    if (!drawing.Primitive || drawing.PointsCount == 0 || !drawing.Primitive->Points())
        throw ECADCoreException("TCAD2DDrawSizedPrimitive: Invalid param");
    SetPrompt(474);
}

bool TCAD2DDrawSizedPrimitive::Click(TCADStateClass& nextState)
{
    auto& drawing = static_cast<TCAD2DDrawSizedPrimitiveParam&>(Drawing());
    TPointsSet2D& points = *drawing.Primitive->Points();
    const TPoint2D q = ClickedPoint();
    int i = drawing.CurrentPoint;
    if (i > 0) {
        points.SetPoint(i, q);
    } else {
        // The first click puts every point there, so the figure grows from it.
        for (int k = 0; k < drawing.PointsCount; ++k)
            points.SetPoint(k, q);
    }
    drawing.CurrentPoint = static_cast<std::int16_t>(++i);
    if (i < drawing.PointsCount) {
        points.SetPoint(i, q);
        ShowRubber(*drawing.Primitive);
        return false;
    }
    return Complete(nextState);
}

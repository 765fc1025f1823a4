#include "cad/engine/DrawArcPrimitive.h"

namespace {

constexpr const char* InvalidParam = "TCAD2DDrawArcPrimitive: Invalid param";
constexpr int ArcPoints = 4;

} // namespace

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
    TArcCurve2D& arc = *drawing.Arc;
    HideRubber(arc);
    arc.Points()->SetPoint(drawing.Clicks, SnappedObjectPoint(arc));
    ShowRubber(arc);
}

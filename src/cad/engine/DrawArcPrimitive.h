#pragma once

// Draws an elliptic arc (TArc2D, from its box) or a circular arc (TArco2D,
// from its centre): four clicks fix control points 0 to 3; after the second
// the prompt asks for the start and end points.

#include "cad/engine/PrimitiveDrawing.h"
#include "cad/shapes/Arc2D.h"

class TCAD2DDrawArcCurveParam : public TCAD2DCommonParam {
public:
    // Owned until it is added to the drawing.
    std::unique_ptr<TArcCurve2D> Arc;
    std::int16_t Clicks = 0;

protected:
    TCAD2DDrawArcCurveParam(TCADStateClass afterState, std::unique_ptr<TArcCurve2D> arc)
        : TCAD2DCommonParam(afterState), Arc(std::move(arc))
    {
    }
};

class TCAD2DDrawArcPrimitiveParam : public TCAD2DDrawArcCurveParam {
public:
    TCAD2DDrawArcPrimitiveParam(TCADStateClass afterState, std::unique_ptr<TArc2D> arc)
        : TCAD2DDrawArcCurveParam(afterState, std::move(arc))
    {
    }
};

class TCAD2DDrawArcoPrimitiveParam : public TCAD2DDrawArcCurveParam {
public:
    TCAD2DDrawArcoPrimitiveParam(TCADStateClass afterState, std::unique_ptr<TArco2D> arc)
        : TCAD2DDrawArcCurveParam(afterState, std::move(arc))
    {
    }
};

class TCAD2DDrawArcCurve : public TCAD2DPointsState {
protected:
    using TCAD2DPointsState::TCAD2DPointsState;

    TObject2D& Figure() const override { return *Drawing().Arc; }
    std::unique_ptr<TObject2D> TakeFigure() override { return std::move(Drawing().Arc); }
    int FixedPoints() const override { return Drawing().Clicks; }
    bool Click(TCADStateClass& nextState) override;
    void FollowPointer() override;

private:
    TCAD2DDrawArcCurveParam& Drawing() const { return static_cast<TCAD2DDrawArcCurveParam&>(*Param()); }
};

class TCAD2DDrawArcPrimitive : public TCAD2DDrawArcCurve {
public:
    static constexpr const char* ClassName = "TCAD2DDrawArcPrimitive";
    TCAD2DDrawArcPrimitive(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

class TCAD2DDrawArcoPrimitive : public TCAD2DDrawArcCurve {
public:
    static constexpr const char* ClassName = "TCAD2DDrawArcoPrimitive";
    TCAD2DDrawArcoPrimitive(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

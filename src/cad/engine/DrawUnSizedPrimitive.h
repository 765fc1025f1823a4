#pragma once

// Draws a primitive with any number of points (polyline, polygon, spline):
// each click appends a point, a second click on the same spot adds nothing,
// accept keeps the figure as it stands and close joins it back to its start.

#include "cad/engine/PrimitiveDrawing.h"

class TCAD2DDrawUnSizedPrimitive : public TCAD2DDrawingState {
public:
    static constexpr const char* ClassName = "TCAD2DDrawUnSizedPrimitive";
    TCAD2DDrawUnSizedPrimitive(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
    bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState shift, int key, TCADStateClass& nextState) override;

private:
    TCAD2DDrawUnSizedPrimitiveParam& Drawing() const
    {
        return static_cast<TCAD2DDrawUnSizedPrimitiveParam&>(*Param());
    }
    void Click();
    void FollowPointer();
    bool Accept(TCADStateClass& nextState);
    bool Close(TCADStateClass& nextState);
};

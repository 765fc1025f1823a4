#pragma once

// Draws a primitive with any number of points (polyline, polygon, spline):
// each click appends a point, a second click on the same spot adds nothing,
// accept keeps the figure as it stands (the moving point too, once it left
// the last click) and close joins it back to its start.

#include "cad/engine/PrimitiveDrawing.h"

class TCAD2DDrawUnSizedPrimitive : public TCAD2DPrimitivePointsState {
public:
    static constexpr const char* ClassName = "TCAD2DDrawUnSizedPrimitive";
    TCAD2DDrawUnSizedPrimitive(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
    bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState shift, int key, TCADStateClass& nextState) override;

protected:
    bool Click(TCADStateClass& nextState) override;

private:
    bool Close(TCADStateClass& nextState);
    // The moving point still on the last click would end the figure with a
    // segment of no length: accept keeps it only once it has moved (a
    // figure of one click keeps it, to stay a figure of two points).
    void DropUnmovedPoint();
};

#pragma once

// Draws a primitive with a fixed number of points (a line, a frame): each
// click fixes the next point, the point after it follows the pointer, and the
// last click adds the primitive (or hands it to the after-state).

#include "cad/engine/PrimitiveDrawing.h"

class TCAD2DDrawSizedPrimitive : public TCAD2DPrimitivePointsState {
public:
    static constexpr const char* ClassName = "TCAD2DDrawSizedPrimitive";
    TCAD2DDrawSizedPrimitive(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);

protected:
    bool Click(TCADStateClass& nextState) override;
};

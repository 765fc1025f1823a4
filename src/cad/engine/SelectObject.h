#pragma once

// Picks one object: the first pick of the parameter's class ends the state.

#include "cad/engine/SelectObjectsParam.h"

class TCAD2DSelectObject : public TCAD2DPickingState {
public:
    static constexpr const char* ClassName = "TCAD2DSelectObject";
    TCAD2DSelectObject(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
    bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState shift, int key, TCADStateClass& nextState) override;
};

// Picks a point: the after-state reads it from the parameter's CurrentPoint.
class TCAD2DSelectPoint : public TCAD2DPickingState {
public:
    static constexpr const char* ClassName = "TCAD2DSelectPoint";
    TCAD2DSelectPoint(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
    bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState shift, int key, TCADStateClass& nextState) override;
};

// The text all single and two-object pickers refuse a wrong parameter with.
inline constexpr const char* InvalidSelectObjectParam = "TCAD2DSelectObject: Invalid param";

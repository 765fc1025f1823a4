#pragma once

// Picks any number of objects, each pick toggling one; accept hands the
// list on (an empty one too).

#include "cad/engine/SelectObjectsParam.h"

// Cleared for good by the commands that redraw the selection themselves.
extern bool SelectRefreshFlag;

class TCAD2DSelectObjects : public TCAD2DPickingState {
public:
    static constexpr const char* ClassName = "TCAD2DSelectObjects";
    TCAD2DSelectObjects(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
    bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState shift, int key, TCADStateClass& nextState) override;
};

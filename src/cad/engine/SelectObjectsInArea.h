#pragma once

// Selects the objects in a dragged area, in two passes: entered with its own
// parameter it wraps it and starts the area rubber band; entered again with
// the area it collects the objects and hands the list on.

#include "cad/engine/SelectObjectsParam.h"

class TCAD2DSelectObjectsInArea : public TCAD2DState {
public:
    static constexpr const char* ClassName = "TCAD2DSelectObjectsInArea";
    TCAD2DSelectObjectsInArea(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);

private:
    void Collect(TCAD2DSelectObjectsInAreaParam& param);
};

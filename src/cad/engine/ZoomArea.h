#pragma once

// Zoom window: the user drags an area and the view zooms to it. The main
// window runs it nested inside a drawing command, which then resumes. The
// zoom states cannot be suspended, so no pan or zoom nests inside them.

#include "cad/engine/CAD2DState.h"

class TCADPrgZoomState : public TCAD2DState {
public:
    TCADPrgZoomState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

// Wraps its own parameter (any or none) and starts the area rubber band.
class TCADPrgZoomArea : public TCADPrgZoomState {
public:
    static constexpr const char* ClassName = "TCADPrgZoomArea";
    TCADPrgZoomArea(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

// Zooms to the dragged area unless it is a single point, then goes on to the
// wrapped parameter's after-state, if it names one.
class TCADPrgEndZoomArea : public TCADPrgZoomState {
public:
    static constexpr const char* ClassName = "TCADPrgEndZoomArea";
    TCADPrgEndZoomArea(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

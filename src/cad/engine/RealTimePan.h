#pragma once

// Real-time pan: while the left button is held the drawing follows the
// pointer. Accept keeps the new view; cancel goes back to the view at the start.

#include "cad/engine/ZoomArea.h"

class TCADPrgRealTimePan : public TCADPrgZoomState {
public:
    static constexpr const char* ClassName = "TCADPrgRealTimePan";
    TCADPrgRealTimePan(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
    bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState shift, int key, TCADStateClass& nextState) override;

private:
    void Drag(TPoint2D point);

    bool Dragging = false;
    TPoint2D LastPoint;
    TRect2D StartRect;
};

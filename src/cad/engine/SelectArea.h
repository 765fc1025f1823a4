#pragma once

// The rubber-band area: a click fixes the first corner, the rectangle follows
// the pointer, and a second click fixes the opposite corner and hands the
// parameter, with its area, to the after-state.

#include <memory>

#include "cad/engine/CAD2DState.h"
#include "cad/engine/RubberDrawing.h"
#include "cad/shapes/Frame2D.h"

class TCADPrgSelectAreaParam : public TCAD2DCommonParam {
public:
    // Holds the caller's parameter (none allowed) until a later state takes it back.
    TCADPrgSelectAreaParam(TCADStateClass afterState, std::unique_ptr<TCADPrgParam> callerParam);

    TFrame2D& Frame() { return *FrameValue; }
    // The frame's box, normalised.
    TRect2D Area() const;
    TCADPrgParam* CallerParam() const { return Caller.get(); }
    std::unique_ptr<TCADPrgParam> TakeCallerParam() { return std::move(Caller); }

    // The rubber rectangle on the view's window.
    void ShowFrame(TCADViewport2DCore& view);
    void HideFrame(TCADViewport2DCore& view);

private:
    std::unique_ptr<TFrame2D> FrameValue;
    std::unique_ptr<TCADPrgParam> Caller;
    TXorMark FrameMark;
};

class TCADPrgSelectArea : public TCAD2DState {
public:
    static constexpr const char* ClassName = "TCADPrgSelectArea";
    TCADPrgSelectArea(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
    bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState shift, int key, TCADStateClass& nextState) override;
};

class TCADPrgDragSelectArea : public TCAD2DState {
public:
    static constexpr const char* ClassName = "TCADPrgDragSelectArea";
    TCADPrgDragSelectArea(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
    bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState shift, int key, TCADStateClass& nextState) override;
};

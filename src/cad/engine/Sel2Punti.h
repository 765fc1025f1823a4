#pragma once

// Measures between two points: a click fixes the first, the line follows the
// pointer while the distance is shown, and a second click leaves the line in
// place until the next measurement starts.

#include "cad/engine/CAD2DState.h"
#include "cad/engine/RubberDrawing.h"

class TSCSel2PuntiParam : public TCAD2DCommonParam {
public:
    using TCAD2DCommonParam::TCAD2DCommonParam;

    void DrawLine(TCADViewport2DCore& view) { DrawRubberLine(view, FirstPoint, SecondPoint); }

    TPoint2D FirstPoint;
    TPoint2D SecondPoint;
};

class TSCSel2Punti : public TCAD2DState {
public:
    static constexpr const char* ClassName = "TSCSel2Punti";
    TSCSel2Punti(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
    bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState shift, int key, TCADStateClass& nextState) override;

private:
    TSCSel2PuntiParam& Points() const { return static_cast<TSCSel2PuntiParam&>(*Param()); }
    void ShowLine();
    void HideLine();

    bool Picking = false;
    TXorMark Line;
};

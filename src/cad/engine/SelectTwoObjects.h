#pragma once

// Picks two distinct objects: picking a listed object again lets it go. The
// world points of the picks are kept, first pick first, for the commands that
// choose sides and ends by them.

#include <array>

#include "cad/engine/SelectObject.h"

extern std::array<TPoint2D, 2> TwoPickPoints;

class TCAD2DSeleziona2Ogg : public TCAD2DPickingState {
public:
    static constexpr const char* ClassName = "TCAD2DSeleziona2Ogg";
    TCAD2DSeleziona2Ogg(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
    bool ProcessEvent(TCADPrgEvent kind, int button, TShiftState shift, int key, TCADStateClass& nextState) override;

    int SelectedCount() const { return Count; }

private:
    int Count = 0;
};

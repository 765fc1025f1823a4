#pragma once

// The states that follow a pick on the chain page: a chain grown from the
// picked object, or drill points taken from the picked objects. The chain
// page sets the hooks; without them the states only fill ChainList.

#include <functional>
#include <memory>

#include "cad/engine/CAD2DState.h"

// What the chain page does after a pick.
struct TChainPickHooks {
    // A chain was appended to ChainList.
    std::function<void()> ChainAdded;
    // The picked object's class cannot be chained (message 463).
    std::function<void()> CannotChain;
    // Drill points were added to ChainList.
    std::function<void()> DrillPointsAdded;
};

extern TChainPickHooks ChainPickHooks;

// Grows a chain from the last picked object and appends it to ChainList.
class TMyCatena : public TCAD2DState {
public:
    static constexpr const char* ClassName = "TMyCatena";
    TMyCatena(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

// Adds the drill point of every picked object (the point of a point object,
// the centre of a circle or arc), in drawing order, skipping points already listed.
class TMyDrillPoints : public TCAD2DState {
public:
    static constexpr const char* ClassName = "TMyDrillPoints";
    TMyDrillPoints(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

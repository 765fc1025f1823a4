#pragma once

// TMySelezione: the step a multiple selection of the delete, explode, change
// layer and simplify commands ends in. It carries out the command's action
// on every object picked, at once, and ends the operation.

#include <functional>
#include <span>
#include <string>

#include "cad/engine/CAD2DState.h"
#include "edit/entities/SelectionOps.h"

class TCADCmp2D;

// The action and what it reads, set by the command's starter and its page.
enum TSelectionMode {
    SELECT_DELETE = 1,
    SELECT_EXPLODE = 4,
    SELECT_CHANGE_LAYER = 6,
    SELECT_SIMPLIFY = 7,
};

struct TSelectionActions {
    int Mode = 0;
    // The layer the change-layer page chose.
    int TargetLayer = 0;
    // The simplify page's tolerance, as typed.
    std::string ToleranceText = "0.025";
    TSimplifyTotals Totals;
    // The undelete stack; none: the program's.
    TDeletedEntities* Deleted = nullptr;
    TMessageText Text = [](int message) { return std::to_string(message); };
    // Where the explode and simplify reports are shown.
    std::function<void(const std::string&)> ShowExplodeReport;
    std::function<void(const std::string&)> ShowSimplifyReport;
};

extern TSelectionActions SelectionActions;

// The starter's part for the selection commands: the action to carry out,
// and for explode and simplify a fresh report (and fresh totals).
void StartSelectionCommand(int code, int mode);

// The starter's part for translate, rotate, mirror and scale: the repeat
// count shown in the command's own field, and the picks no longer redrawn
// by the selection (rotate, mirror and scale draw them themselves), for good.
void StartTransformCommand(int code, int repeat);
// Writes the repeat count into the page field of that name.
extern std::function<void(const char* field, int repeat)> ShowTransformRepeat;

// Applies the mode's action to the objects (pictures are left alone).
// Gives false when the simplify tolerance is not a number; nothing changes then.
bool ApplySelectionAction(TCADCmp2D& cad, std::span<TObject2D* const> objects, TSelectionActions& actions);

class TMySelezione : public TCAD2DState {
public:
    static constexpr const char* ClassName = "TMySelezione";
    TMySelezione(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

#include "cad/drawing/CADCmp2D.h"
#include "edit/commands/EditSettings.h"
#include "edit/commands/EditStates.h"
#include "edit/commands/FilletPairs.h"

TMyRaccordo::TMyRaccordo(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TEditState(engine, std::move(param), nextState)
{
    const std::vector<TObject2D*> picked = Picked();
    if (picked.size() == 2 && IsFilletEntity(picked[0]) && IsFilletEntity(picked[1])) {
        const std::array<TVect, 2> picks = TwoPicks();
        TFilletOptions options;
        options.MakeArc = EditSettings().FilletMode;
        options.ModifyEntities = true;
        options.Radius = EditSettings().FilletRadius;
        FilletPair(Drawing(), &View(), *picked[0], *picked[1], picks[0], picks[1], options);
    } else {
        ShowEditBox({{431, 432}, 0, false});
    }
    End(nextState);
}

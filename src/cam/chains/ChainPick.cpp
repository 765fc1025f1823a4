#include "cam/chains/ChainPick.h"

#include <algorithm>
#include <vector>

#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/SelectObjectsParam.h"
#include "cad/shapes/Primitive2D.h"
#include "cam/chains/Chains.h"

TChainPickHooks ChainPickHooks;

namespace {

constexpr const char* INVALID_PICK = "TMyCatena: Invalid param";

void Call(const std::function<void()>& hook)
{
    if (hook)
        hook();
}

} // namespace

TMyCatena::TMyCatena(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TCAD2DState(engine, std::move(param), nextState)
{
    auto& selection = RequireParam<TCAD2DSelectObjectsParam>(INVALID_PICK);
    TObject2D* picked = nullptr;
    {
        std::unique_ptr<TGraphicObjIterator> iterator = selection.SelectedObjects.GetIterator();
        for (TGraphicObject* object = iterator->First(); object; object = iterator->Next())
            picked = dynamic_cast<TObject2D*>(object);
    }
    TCADCmp2D* drawing = View().CADCmp2D();
    if (picked && drawing) {
        bool chainable = false;
        TChain chain = PickChain(*picked, *drawing, chainable);
        if (!chainable) {
            Call(ChainPickHooks.CannotChain);
        } else if (!chain.empty()) {
            ChainList.Chains.push_back(std::move(chain));
            Call(ChainPickHooks.ChainAdded);
        }
    }
    ReplaceParam(nullptr);
}

TMyDrillPoints::TMyDrillPoints(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState)
    : TCAD2DState(engine, std::move(param), nextState)
{
    auto& selection = RequireParam<TCAD2DSelectObjectsParam>(INVALID_PICK);
    TCADCmp2D* drawing = View().CADCmp2D();
    bool added = false;
    if (drawing) {
        std::vector<const TGraphicObject*> picked;
        {
            std::unique_ptr<TGraphicObjIterator> iterator = selection.SelectedObjects.GetIterator();
            for (TGraphicObject* object = iterator->First(); object; object = iterator->Next())
                picked.push_back(object);
        }
        // In drawing order, whatever order they were picked in.
        std::unique_ptr<TGraphicObjIterator> iterator = drawing->ObjectsIterator();
        for (TGraphicObject* object = iterator->First(); object; object = iterator->Next()) {
            if (std::find(picked.begin(), picked.end(), object) == picked.end())
                continue;
            TVect point;
            if (const auto* object2D = dynamic_cast<const TObject2D*>(object); object2D && DrillPointOf(*object2D, point))
                added = AddDrillPoint(ChainList, point) || added;
        }
    }
    if (added)
        Call(ChainPickHooks.DrillPointsAdded);
    ReplaceParam(nullptr);
}

#include "cad/engine/SelectObjectsInArea.h"

#include "cad/engine/SelectArea.h"

namespace {

constexpr const char* InvalidParam = "TCAD2DSelectObjectsInArea: Invalid param";

// Sets the view's pick class for the collection and gives the old one back,
// even when the collection fails.
class TPickClassScope {
public:
    TPickClassScope(TCADViewport2DCore& view, TObject2DClass pickClass) : View(view), Saved(view.PickClass)
    {
        View.PickClass = pickClass;
    }
    ~TPickClassScope() { View.PickClass = Saved; }
    TPickClassScope(const TPickClassScope&) = delete;
    TPickClassScope& operator=(const TPickClassScope&) = delete;

private:
    TCADViewport2DCore& View;
    TObject2DClass Saved;
};

} // namespace

TCAD2DSelectObjectsInArea::TCAD2DSelectObjectsInArea(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                                     TCADStateClass& nextState)
    : TCAD2DState(engine, std::move(param), nextState)
{
    if (dynamic_cast<TCAD2DSelectObjectsInAreaParam*>(Param())) {
        ReplaceParam(std::make_unique<TCADPrgSelectAreaParam>(TCADStateClass::Of<TCAD2DSelectObjectsInArea>(),
                                                              TakeParam()));
        nextState = TCADStateClass::Of<TCADPrgSelectArea>();
        return;
    }
    auto* area = dynamic_cast<TCADPrgSelectAreaParam*>(Param());
    if (!area || !dynamic_cast<TCAD2DSelectObjectsInAreaParam*>(area->CallerParam()))
        throw ECADCoreException(InvalidParam);
    const TRect2D dragged = area->Area();
    // The wrapped parameter is this state's own again; the area is freed.
    ReplaceParam(area->TakeCallerParam());
    auto& selection = static_cast<TCAD2DSelectObjectsInAreaParam&>(*Param());
    selection.Area = dragged;
    Collect(selection);
    Finish(nextState);
}

void TCAD2DSelectObjectsInArea::Collect(TCAD2DSelectObjectsInAreaParam& param)
{
    {
        TPickClassScope pickClass(View(), param.PickClass);
        View().CollectObjectsInRect(param.SelectedObjects, param.Area, false, param.AreaMode);
    }
    TBlockedEvents blocked(Engine());
    if (param.OnSelected)
        param.OnSelected(param, nullptr, true, PICK_NOOBJECT);
    View().InvalidateView();
}

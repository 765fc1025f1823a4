#include "cad/engine/TransformSelectedObjects.h"

#include "cad/engine/SelectObjectsParam.h"
#include "cad/engine/TransformObjects.h"

namespace {

template <class TParam>
std::unique_ptr<TSCTransformObjectsParam> MakeParam(TGraphicObjList& objects)
{
    return std::make_unique<TParam>(objects, TCADStateClass());
}

} // namespace

TSCTransformSelectedObjects::TSCTransformSelectedObjects(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                                         TCADStateClass& nextState, const char* invalidText,
                                                         const TCADStateClass& self, TMakeParam makeParam)
    : TCAD2DState(engine, std::move(param), nextState)
{
    auto& selection = RequireParam<TCAD2DSelectObjectsParam>(invalidText);
    if (selection.SelectedObjects.Count() == 0) {
        TakeParam().reset();
        nextState = Engine().DefaultState();
        return;
    }
    ReplaceParam(makeParam(selection.SelectedObjects));
    Engine().SetCurrentOperation(self);
    nextState = TCADStateClass::Of<TSCTransformObjects>();
}

TSCTraslaSelectedObjects::TSCTraslaSelectedObjects(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                                   TCADStateClass& nextState)
    : TSCTransformSelectedObjects(engine, std::move(param), nextState, "TCAD2DMoveSelectedObjects: Invalid param",
                                  TCADStateClass::Of<TSCTraslaSelectedObjects>(), &MakeParam<TSCTraslaObjectsParam>)
{
}

TSCRuotaSelectedObjects::TSCRuotaSelectedObjects(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                                 TCADStateClass& nextState)
    : TSCTransformSelectedObjects(engine, std::move(param), nextState, "TCAD2DRotateSelectedObjects: Invalid param",
                                  TCADStateClass::Of<TSCRuotaSelectedObjects>(), &MakeParam<TSCRuotaObjectsParam>)
{
}

TSCScalaSelectedObjects::TSCScalaSelectedObjects(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                                 TCADStateClass& nextState)
    : TSCTransformSelectedObjects(engine, std::move(param), nextState, "TCAD2DRotateSelectedObjects: Invalid param",
                                  TCADStateClass::Of<TSCScalaSelectedObjects>(), &MakeParam<TSCScalaObjectsParam>)
{
}

TSCSpecchiaSelectedObjects::TSCSpecchiaSelectedObjects(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                                       TCADStateClass& nextState)
    : TSCTransformSelectedObjects(engine, std::move(param), nextState, "TCAD2DMirrorSelectedObjects: Invalid param",
                                  TCADStateClass::Of<TSCSpecchiaSelectedObjects>(),
                                  &MakeParam<TSCSpecchiaObjectsParam>)
{
}

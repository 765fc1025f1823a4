#include "cad/engine/SelectObjectsParam.h"

#include "cad/model/GraphicObject.h"

TCAD2DSelectObjectsParam::TCAD2DSelectObjectsParam(int aperture, TCADStateClass afterState,
                                                   TSelectionCallback callback)
    : TCAD2DCommonParam(afterState), Aperture(static_cast<std::int16_t>(aperture)), OnSelected(std::move(callback))
{
    SelectedObjects.OwnsObjects = false;
}

void TCAD2DSelectObjectsParam::DrawAperture(TCADViewport2DCore& view, TPoint2D point)
{
    DrawRubberSquare(view, point, Aperture);
}

TCAD2DSelectObjectsInAreaParam::TCAD2DSelectObjectsInAreaParam(int areaMode, TCADStateClass afterState,
                                                               TSelectionCallback callback)
    : TCAD2DSelectObjectsParam(0, afterState, std::move(callback)), AreaMode(static_cast<std::uint8_t>(areaMode))
{
}

TCAD2DPickingState::TCAD2DPickingState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param,
                                       TCADStateClass& nextState, const char* invalidText)
    : TCAD2DState(engine, std::move(param), nextState)
{
    RequireParam<TCAD2DSelectObjectsParam>(invalidText);
}

void TCAD2DPickingState::ShowAperture()
{
    TCAD2DSelectObjectsParam& param = Selection();
    ApertureMark.Show(View(), [&] { param.DrawAperture(View(), param.CurrentPoint); });
}

void TCAD2DPickingState::HideAperture()
{
    TCAD2DSelectObjectsParam& param = Selection();
    ApertureMark.Hide(View(), [&] { param.DrawAperture(View(), param.CurrentPoint); });
}

void TCAD2DPickingState::MoveAperture()
{
    HideAperture();
    Selection().CurrentPoint = RawPoint();
    ShowAperture();
}

TObject2D* TCAD2DPickingState::PickAtPointer()
{
    TCAD2DSelectObjectsParam& param = Selection();
    int code = PICK_NOOBJECT;
    TObject2D* object = View().PickObject(RawPoint(), param.Aperture, code, false);
    param.LastPickCode = code;
    if (!object || code <= PICK_INBBOX || !param.PickClass.Matches(*object))
        return nullptr;
    return object;
}

void TCAD2DPickingState::Notify(TObject2D* object, bool selected, int code)
{
    TCAD2DSelectObjectsParam& param = Selection();
    if (!param.OnSelected)
        return;
    TBlockedEvents blocked(Engine());
    param.OnSelected(param, object, selected, code);
}

void TCAD2DPickingState::MarkSelectedAgain()
{
    TCAD2DSelectObjectsParam& param = Selection();
    if (!param.OnSelected)
        return;
    TBlockedEvents blocked(Engine());
    std::unique_ptr<TGraphicObjIterator> iterator = param.SelectedObjects.GetIterator();
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next())
        param.OnSelected(param, static_cast<TObject2D*>(object), true, PICK_NOOBJECT);
}

bool TCAD2DPickingState::ToggleSelected(TObject2D& object)
{
    TGraphicObjList& list = Selection().SelectedObjects;
    if (list.FindObject(object.ID)) {
        list.Delete(object.ID);
        return false;
    }
    list.Add(&object);
    return true;
}

bool TCAD2DPickingState::FollowPointer(TCADPrgEvent kind, bool markAgain)
{
    if (kind == TCADPrgEvent::MouseMove) {
        MoveAperture();
        return true;
    }
    if (kind != TCADPrgEvent::ViewRepainted)
        return false;
    ShowAperture();
    if (markAgain)
        MarkSelectedAgain();
    return true;
}

bool TCAD2DPickingState::AcceptSelection(TCADStateClass& nextState, bool refresh)
{
    if (refresh) {
        TBlockedEvents blocked(Engine());
        View().InvalidateView();
    }
    Finish(nextState);
    return true;
}
